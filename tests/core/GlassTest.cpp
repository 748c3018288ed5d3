// What the glass adds over the script: the text's columns, the exact mirror,
// the countdown and the presenter's message.
#include "Countdown.h"
#include "GlassOverlay.h"
#include "PresenterMessage.h"
#include "PrompterCommands.h"
#include "ScrollRunState.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace
{
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class Glass : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        ResetMotionForNewRun();
    }
    void TearDown() override { SetUp(); }
};

// The glass alone over an area, on black.
QImage Painted(const GlassLook& look, const GlassTexts& texts, QSize area, const QRect& picture)
{
    QImage image(area, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    DrawGlassPieces(painter, picture, look.mirrored,
                    GlassPieces(QRect(QPoint(), area), picture, look, texts));
    return image;
}
} // namespace

TEST_F(Glass, TextKeepsClearOfTheMarginsAndOfTheCue)
{
    const struct {
        int margin;
        bool cue;
        int left, right;
    } cases[] = {
        {0, false, 0, 640}, {10, false, 64, 576}, {25, false, 160, 480}, {0, true, 20, 640},
        {1, true, 20, 634}, {10, true, 64, 576},  {40, false, 160, 480}, // a broken margin is held
                                                                         // at the widest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.margin << (c.cue ? "% with the cue" : "%"));
        const TextColumns columns = TextColumnsFor(GlassLayout{c.margin, 0, false}, {c.cue, 33});
        EXPECT_EQ(columns.left, c.left);
        EXPECT_EQ(columns.right, c.right);
        // The cue stands left of the text.
        const QRect picture(0, 0, 1280, 960);
        const GlassLayout layout{c.margin, 0, false};
        const QRectF cue =
            CueTriangle(picture, picture, {true, 33}, MarginColumns(layout)).boundingRect();
        if (c.cue) {
            EXPECT_LE(cue.right(), columns.left * 2.0);
        }
    }
}

TEST_F(Glass, AMirroredGlassIsTheExactMirrorOfTheRightReadingOne)
{
    const GlassTexts texts{QStringLiteral("WRAP IN 30"), QStringLiteral("12:34:56"), 3};
    const struct {
        QSize area;
        QRect picture;
    } screens[] = {
        {{1280, 1024}, {0, 32, 1280, 960}},
        {{1280, 720}, {160, 0, 960, 720}},
        {{333, 250}, {0, 0, 333, 250}},
    };
    for (int margin : {0, 10}) {
        for (const auto& screen : screens) {
            SCOPED_TRACE(testing::Message() << screen.area.width() << " wide, margin " << margin);
            GlassLook look{{true, 40}, {margin, 0, true}, false, Qt::white, Qt::black, QFont()};
            const QImage right = Painted(look, texts, screen.area, screen.picture);
            look.mirrored = true;
            const QImage mirrored = Painted(look, texts, screen.area, screen.picture);
            EXPECT_NE(right, mirrored);
            EXPECT_EQ(mirrored, right.mirrored(true, false));
        }
    }
}

// A presenter keeps the rows the glass did not draw on from frame to frame.
TEST_F(Glass, AllTheGlassDrawsLiesWhereItSaysItDrew)
{
    GlassOverlay glass(GlassLook{{true, 40}, {10, 0, true}, true, Qt::white, Qt::black, QFont()});
    glass.Show({QStringLiteral("WRAP IN 30"), QStringLiteral("12:34:56"), 3});
    QImage image(QSize(1280, 1024), QImage::Format_RGB32);
    image.fill(Qt::black);
    const QImage black = image;
    QPainter painter(&image);
    const QRegion drawn = glass.DrawTellingWhere(painter, QRect(0, 32, 1280, 960), image.size());
    EXPECT_FALSE(QRegion(image.rect()).subtracted(drawn).isEmpty());
    painter.setClipRegion(drawn);
    painter.fillRect(image.rect(), Qt::black);
    painter.end();
    EXPECT_EQ(image, black);
}

TEST_F(Glass, TheCountdownTakesThePlaceOfTheFirstMovementAndAPauseCancelsIt)
{
    using enum PrompterCommand;
    const struct {
        const char* what;
        int seconds;
        std::vector<PrompterCommand> commands;
        bool counting, paused;
    } cases[] = {
        {"no countdown", 0, {Resume}, false, false},
        {"a resume counts", 3, {Resume}, true, true},
        {"space counts", 3, {TogglePause}, true, true},
        {"a second resume waits", 3, {Resume, Resume}, true, true},
        {"space cancels", 3, {TogglePause, TogglePause}, false, true},
        {"a pause cancels", 3, {Resume, Pause}, false, true},
        {"counted again after a cancel", 3, {Resume, Pause, Resume}, true, true},
        {"stop ends the run", 3, {Resume, Stop}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        g_runParams.glass.countdownSeconds = c.seconds;
        g_runState.running = true;
        for (PrompterCommand command : c.commands)
            RunPrompterCommand(command);
        EXPECT_EQ(CountingDown(), c.counting);
        EXPECT_EQ(g_runState.paused, c.paused);
    }

    SetUp();
    g_runParams.glass.countdownSeconds = 3;
    g_runState.running = true;
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(StartCountdown(start));
    EXPECT_EQ(CountdownShown(start + 100ms), 3);
    EXPECT_EQ(CountdownShown(start + 2500ms), 1);
    EndCountdownWhenDue(start + 2999ms);
    EXPECT_TRUE(g_runState.paused);
    EndCountdownWhenDue(start + 3s);
    EXPECT_FALSE(g_runState.paused);
    EXPECT_FALSE(CountdownShown(start + 3s));
    // Once moved, a run resumes at once.
    RunPrompterCommand(Pause);
    RunPrompterCommand(Resume);
    EXPECT_FALSE(g_runState.paused);
}

TEST_F(Glass, AMessageIsOneShortLineUntilClearedOrItsTimeIsUp)
{
    const Clock::time_point now = Clock::now();
    const struct {
        QString text;
        int seconds;
        bool shown;
        QString reads;     // at once
        QString readsLate; // an hour and a second on
    } cases[] = {
        {"WRAP IN 30", 0, true, "WRAP IN 30", "WRAP IN 30"},
        {"  SLOW\nDOWN\t", 30, true, "SLOW DOWN", ""},
        {QString(kMessageLongest, u'x'), 3600, true, QString(kMessageLongest, u'x'), ""},
        {QString(kMessageLongest + 1, u'x'), 0, false, "kept", "kept"},
        {"LATE", -1, false, "kept", "kept"},
        {"LATE", 3601, false, "kept", "kept"},
        {"", 0, true, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        ASSERT_TRUE(ShowPresenterMessage(QStringLiteral("kept"), 0, now));
        EXPECT_EQ(ShowPresenterMessage(c.text, c.seconds, now), c.shown);
        EXPECT_EQ(PresenterMessageAt(now), c.reads);
        EXPECT_EQ(PresenterMessageAt(now + 3601s), c.readsLate);
    }
}
