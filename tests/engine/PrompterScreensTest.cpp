#include "ScrollRun.h"

#include "BackTime.h"
#include "DisplayDevice.h"
#include "LineStarts.h"
#include "PresenterMessage.h"
#include "PreviewWindow.h"
#include "PrompterDisplay.h"
#include "PrompterRunFixture.h"
#include "ScanOut.h"
#include "Surface.h"
#include "SurfacePalette.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTime>
#include <chrono>
#include <map>
#include <utility>

// Runs on a desk with three screens: "Desk" is the primary, and the
// platform lists "Wide" last, so it is the prompter's monitor 2.
class PrompterScreens : public PrompterRunFixture
{
  protected:
    static QScreen* Named(const QString& name)
    {
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->name() == name)
                return screen;
        return nullptr;
    }

    // The operator's preview windows on the screen now.
    static QList<QWidget*> Previews()
    {
        QList<QWidget*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle() == QStringLiteral("Vellor Preview"))
                found.append(window);
        return found;
    }
};

TEST_F(PrompterScreens, MonitorTwoPutsTheWindowOnTheLastScreenAndMonitorOneOnThePrimary)
{
    const std::pair<bool, QString> cases[] = {{true, QStringLiteral("Wide")},
                                              {false, QStringLiteral("Desk")}};
    for (const auto& [useMonitor2, name] : cases) {
        SCOPED_TRACE(name.toStdString());
        QScreen* const expected = Named(name);
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(ChooseDisplayScreen(useMonitor2), expected);
        QRect seen;
        QScreen* seenScreen = nullptr;
        Then([&] {
            seen = Window()->geometry();
            seenScreen = Window()->screen();
            g_runState.running = false;
        });
        ArmScript();
        StartScrollRun(useMonitor2);
        EXPECT_EQ(seen, expected->geometry());
        EXPECT_EQ(seenScreen, expected);
    }
}

TEST_F(PrompterScreens, TheWindowShowsThePrimarySurfaceScaledToTheScreen)
{
    g_runParams.textColor = 0x00204080;
    g_runParams.backColor = 0x00F0E0D0;
    QImage shown;
    QImage expected;
    QElapsedTimer clock;
    Then([&] { clock.start(); });
    // Let a few refreshes pass so that the screen has caught up.
    Then([&] { return clock.elapsed() > 150; },
         [&] {
             const QList<QRgb> palette =
                 SurfacePalette(g_runParams.backColor, g_runParams.textColor);
             expected = ScanOutImage(Image(*g_runState.primarySurface), palette, Window()->size());
             shown = Window()->screen()->grabWindow(Window()->winId()).toImage();
             g_runState.running = false;
         });
    ArmScript();
    StartScrollRun(true);
    ASSERT_EQ(expected.size(), QSize(1280, 720));
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), expected);
    // The run's text reached the screen, inside the centred 4:3 frame.
    EXPECT_EQ(expected.pixel(10, 360), qRgb(0xD0, 0xE0, 0xF0));
    bool ink = false;
    for (int x = 160; x < 1120 && !ink; ++x)
        for (int y = 600; y < 720 && !ink; ++y)
            ink = expected.pixel(x, y) != qRgb(0xD0, 0xE0, 0xF0);
    EXPECT_TRUE(ink);
}

TEST_F(PrompterScreens, TheReadingCueStandsInTheMarginInTheTextColourAndMirrorsWithThePicture)
{
    const QRgb text = qRgb(0x80, 0x40, 0x20);
    const QRgb back = qRgb(0xD0, 0xE0, 0xF0);
    for (bool mirror : {false, true}) {
        SCOPED_TRACE(mirror ? "mirrored" : "right-reading");
        QImage shown;
        QImage picture;
        QElapsedTimer clock;
        // Each run from the fixture's fresh start.
        PrompterRunFixture::TearDown();
        PrompterRunFixture::SetUp();
        g_runParams.textColor = 0x00204080;
        g_runParams.backColor = 0x00F0E0D0;
        g_runParams.readingCue = ReadingCue{true, 50};
        g_runParams.mirror = mirror;
        Then([&] { clock.start(); });
        Then([&] { return clock.elapsed() > 150; },
             [&] {
                 picture =
                     ScanOutImage(Image(*g_runState.primarySurface),
                                  SurfacePalette(g_runParams.backColor, g_runParams.textColor),
                                  Window()->size());
                 shown = Window()
                             ->screen()
                             ->grabWindow(Window()->winId())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
                 g_runState.running = false;
             });
        ArmScript();
        StartScrollRun(true);
        ASSERT_EQ(shown.size(), QSize(1280, 720));
        // On "Wide" the 960 x 720 picture leaves margins of 160 at each side;
        // the cue's tip touches the picture's edge at half its height.
        const int inside = mirror ? 1280 - 145 : 145;
        const int outside = mirror ? 145 : 1280 - 145;
        EXPECT_EQ(shown.pixel(inside, 360), text);
        EXPECT_EQ(shown.pixel(outside, 360), back);
        EXPECT_EQ(shown.pixel(inside, 300), back) << "the cue is small";
        // Nothing else differs from the picture alone: the surfaces stay exact.
        int differing = 0;
        for (int y = 0; y < 720; ++y)
            for (int x = 0; x < 1280; ++x)
                if (shown.pixel(x, y) != picture.pixel(x, y)) {
                    ++differing;
                    EXPECT_LT(std::abs(x - (mirror ? 1280 - 145 : 145)), 20);
                    EXPECT_LT(std::abs(y - 360), 20);
                }
        EXPECT_GT(differing, 100);
        if (HasFailure())
            return;
    }
}

TEST_F(PrompterScreens, ARunOnAnotherScreenShowsTheOperatorAPreviewThatTakesNoFocus)
{
    QScreen* const desk = Named(QStringLiteral("Desk"));
    ASSERT_NE(desk, nullptr);
    g_runParams.operatorScreen = desk;
    qsizetype seen = 0;
    QScreen* seenScreen = nullptr;
    bool takesFocus = true;
    bool prompterActive = false;
    QElapsedTimer clock;
    Then([&] { clock.start(); });
    // Past a refresh of the preview, which must not have stopped the run.
    Then([&] { return clock.elapsed() > 300; },
         [&] {
             const QList<QWidget*> previews = Previews();
             seen = previews.size();
             if (seen == 1) {
                 seenScreen = previews.front()->screen();
                 takesFocus =
                     !previews.front()->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus);
             }
             prompterActive = QApplication::activeWindow() == Window();
             g_runState.running = false;
         });
    ArmScript();
    StartScrollRun(true);
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(seenScreen, desk);
    EXPECT_FALSE(takesFocus);
    EXPECT_TRUE(prompterActive);
    EXPECT_TRUE(Previews().isEmpty()) << "the preview closes with the run";
}

TEST_F(PrompterScreens, ThePreviewsButtonsPutAMessageOnTheGlassAndClearItWhileTheRunGoesOn)
{
    g_runParams.operatorScreen = Named(QStringLiteral("Desk"));
    QStringList shown;
    bool prompterActive = false;
    const auto click = [](const QString& label) {
        for (QPushButton* button : Previews().front()->findChildren<QPushButton*>())
            if (button->text() == label)
                QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, {},
                                  button->mapTo(button->window(), button->rect().center()));
    };
    QElapsedTimer clock;
    Then([&] { clock.start(); });
    Then([&] { return clock.elapsed() > 200 && Previews().size() == 1; },
         [&] {
             click(QStringLiteral("SLOW DOWN"));
             shown.append(PresenterMessageAt(std::chrono::steady_clock::now()));
             click(QStringLiteral("Clear"));
             shown.append(PresenterMessageAt(std::chrono::steady_clock::now()));
             prompterActive = QApplication::activeWindow() == Window() && g_runState.running;
             g_runState.running = false;
         });
    ArmScript();
    StartScrollRun(true);
    EXPECT_EQ(shown, QStringList({QStringLiteral("SLOW DOWN"), QString()}));
    EXPECT_TRUE(prompterActive);
}

TEST_F(PrompterScreens, ARunOnTheOperatorsOwnScreenShowsNoPreview)
{
    g_runParams.operatorScreen = Named(QStringLiteral("Desk"));
    qsizetype seen = -1;
    Then([&] {
        seen = Previews().size();
        g_runState.running = false;
    });
    ArmScript();
    StartScrollRun(false);
    EXPECT_EQ(seen, 0);
}

TEST_F(PrompterScreens, ThePreviewReadsRightEvenWhenTheGlassIsMirroredAndShowsWhereTheRunIs)
{
    for (const bool mirror : {false, true}) {
        SCOPED_TRACE(mirror);
        PrompterRunFixture::TearDown();
        PrompterRunFixture::SetUp();
        g_runParams.mirror = mirror;
        g_runParams.operatorScreen = Named(QStringLiteral("Desk"));
        QImage shot;
        QStringList texts;
        QElapsedTimer clock;
        Then([&] { clock.start(); });
        Then([&] { return clock.elapsed() > 450; },
             [&] {
                 const QList<QWidget*> previews = Previews();
                 if (previews.size() == 1) {
                     shot = previews.front()->grab().toImage();
                     for (const QLabel* label : previews.front()->findChildren<QLabel*>())
                         texts.append(label->text());
                 }
                 g_runState.running = false;
             });
        ArmScript();
        StartScrollRun(true);
        ASSERT_FALSE(shot.isNull());
        // The script's lines begin at the left of the picture, which fills
        // the top of the window: right-reading, their ink is left of centre.
        long inkX = 0, ink = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) < 64) {
                    inkX += x;
                    ++ink;
                }
        ASSERT_GT(ink, 100) << "the picture reached the preview";
        EXPECT_LT(inkX / ink, shot.width() / 2);
        EXPECT_TRUE(texts.contains(QStringLiteral("Line 1 of 40")))
            << texts.join('|').toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("Elapsed 0:00"))) << "paused, no time moved";
    }
}

// Counts the paints a widget gets.
class PaintCount : public QObject
{
  public:
    explicit PaintCount(QObject* widget) { widget->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(PrompterScreens, APreviewRefreshWaitsForRoomBeforeAStepButNotForLongAndPaintsAtOnce)
{
    using namespace std::chrono_literals;
    QElapsedTimer sinceOpening;
    sinceOpening.start();
    PreviewWindow preview(Named(QStringLiteral("Desk")));
    const auto positionLabel = [&preview](int lines) -> const QLabel* {
        const QString text = QStringLiteral("Line 1 of %1").arg(lines);
        for (const QLabel* label : preview.findChildren<QLabel*>())
            if (label->text() == text)
                return label;
        return nullptr;
    };
    ASSERT_TRUE(positionLabel(40));
    PaintCount paintCount(const_cast<QLabel*>(positionLabel(40)));
    // Offered as the loop offers it at every pass; the paints of a refresh
    // are counted from its offer on, with no events handled after it.
    const auto offerUntilShown = [&](int lines, std::chrono::nanoseconds room) {
        const qint64 start = sinceOpening.elapsed();
        while (!positionLabel(lines) && sinceOpening.elapsed() - start < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            paintCount.paints = 0;
            preview.RefreshIfDue(room);
        }
        ASSERT_TRUE(positionLabel(lines));
        EXPECT_GT(paintCount.paints, 0) << "painted within the refresh";
    };
    g_runParams.lineCount = 50;
    // Due after 200 ms (a coarse timer may fire 5% early), then put off 100.
    offerUntilShown(50, 0ns);
    EXPECT_GE(sinceOpening.elapsed(), 290) << "no room, so it waits";
    g_runParams.lineCount = 60;
    const qint64 dueAgain = sinceOpening.elapsed();
    offerUntilShown(60, 1s);
    EXPECT_LT(sinceOpening.elapsed() - dueAgain, 290) << "room, so it does not wait";
}

TEST_F(PrompterScreens, ThePreviewTellsTheStoryTheTimesAndWithAnEndTimeTheBackTime)
{
    g_runParams.scriptText = "One\r\n\r\nTwo\r\nand more\r\n\r\nThree\r\n";
    g_runParams.lineCount = RecordLineStarts(0);
    g_runState.lineHeight = 20;
    g_runState.speedValue = 10000;
    const int inAnHour = (QTime::currentTime().msecsSinceStartOfDay() / 1000 + 3600) % 86400;
    for (const bool endTime : {false, true}) {
        SCOPED_TRACE(endTime ? "with an end time" : "without");
        g_runParams.endAtSecond = endTime ? std::optional<int>(inAnHour) : std::nullopt;
        PreviewWindow preview(Named(QStringLiteral("Desk")));
        QStringList shown;
        for (const QLabel* label : preview.findChildren<QLabel*>())
            if (label->isVisibleTo(&preview))
                shown.append(label->text());
        const QString all = shown.join(u'|');
        EXPECT_TRUE(shown.contains(QStringLiteral("Story 1 of 3"))) << all.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Run 0:00"))) << all.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Line 1 of 6"))) << all.toStdString();
        const QStringList ends = shown.filter(QRegularExpression(QStringLiteral("^Ends ")));
        ASSERT_EQ(ends.size(), endTime ? 1 : 0) << all.toStdString();
        if (!endTime)
            continue;
        // A few rows left at 100 rows a second: far under, and no speed is slow enough.
        EXPECT_TRUE(
            ends.front().startsWith(QStringLiteral("Ends %1, ").arg(TimeOfDayText(inAnHour))))
            << all.toStdString();
        EXPECT_TRUE(ends.front().endsWith(QStringLiteral(" under"))) << all.toStdString();
        EXPECT_EQ(shown.filter(QStringLiteral("needs slower than speed 32000")).size(), 1)
            << all.toStdString();
    }
}

TEST_F(PrompterScreens, TheScreensChosenShowTheRunInTheirOwnDirectionAndTheMainOneKeepsTheKeys)
{
    g_runParams.mirror = true;
    // The main output's own screen is chosen too: it is shown once, as the main output.
    g_runParams.outputs = {{QStringLiteral("Wide"), OutputChoice::Forward},
                           {QStringLiteral("Square"), OutputChoice::Reversed},
                           {QStringLiteral("Desk"), OutputChoice::Forward}};
    std::map<QString, QImage> shown;
    std::map<QString, QImage> expected;
    bool prompterActive = false;
    bool escapeStopped = false;
    QElapsedTimer clock;
    Then([&] { clock.start(); });
    Then([&] { return clock.elapsed() > 300; },
         [&] {
             for (QWidget* window : QApplication::topLevelWidgets())
                 if (window->isVisible() &&
                     window->windowTitle() == QStringLiteral("Vellor Output"))
                     shown[window->screen()->name()] = window->screen()
                                                           ->grabWindow(window->winId())
                                                           .toImage()
                                                           .convertToFormat(QImage::Format_RGB32);
             const std::vector<std::uint8_t> frame = Image(*g_runState.primarySurface);
             const QList<QRgb> palette =
                 SurfacePalette(g_runParams.backColor, g_runParams.textColor);
             // Reversed as the mirrored main picture is; forward, turned back.
             expected[QStringLiteral("Square")] = ScanOutImage(frame, palette, QSize(800, 600));
             expected[QStringLiteral("Wide")] =
                 ScanOutImage(frame, palette, QSize(1280, 720)).mirrored(true, false);
             prompterActive = QApplication::activeWindow() == Window();
             QTest::keyClick(Window()->windowHandle(), Qt::Key_Escape);
             escapeStopped = !g_runState.running;
             g_runState.running = false;
         });
    ArmScript();
    StartScrollRun(false);
    ASSERT_EQ(shown.size(), expected.size());
    for (const auto& [name, image] : expected)
        EXPECT_EQ(shown[name], image) << name.toStdString();
    EXPECT_TRUE(prompterActive);
    EXPECT_TRUE(escapeStopped);
}
