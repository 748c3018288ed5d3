#include "AppFixture.h"
#include "WestonDesk.h"

#include "MySliderControl.h"
#include "ResourceIds.h"
#include "ScrollRunState.h"
#include "TickSource.h"
#include "XButton.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <cstdlib>

// The program on a Wayland desk with two outputs, as Debian's default desktop
// runs it. The suite's own process stays offscreen: the case below starts
// weston and runs this same executable again as a Wayland client, where the
// client cases do their work; anywhere else those cases skip.

namespace
{
constexpr char kClientVariable[] = "VELLOR_WESTON_CLIENT";
constexpr QRgb kBackground = qRgb(0xD0, 0xE0, 0xF0);
constexpr ColorRef kBackgroundRef = 0x00F0E0D0;

// The share of `area` in `shot` that shows the prompter's background. The
// compositor's colour handling may round a channel by a step or two.
double BackgroundShare(const QImage& shot, const QRect& area)
{
    const auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
    long matching = 0;
    for (int y = area.top(); y <= area.bottom(); y += 4)
        for (int x = area.left(); x <= area.right(); x += 4) {
            const QRgb pixel = shot.pixel(x, y);
            matching += near(qRed(pixel), qRed(kBackground)) &&
                        near(qGreen(pixel), qGreen(kBackground)) &&
                        near(qBlue(pixel), qBlue(kBackground));
        }
    return static_cast<double>(matching) / ((area.width() / 4) * (area.height() / 4));
}

// The nested desk lays its two 1024 x 768 outputs side by side.
const QRect kFirstOutput(0, 0, 1024, 768), kSecondOutput(1024, 0, 1024, 768);

bool ShowsThePrompter(const QImage& shot)
{
    return shot.size() == QSize(2048, 768) && (BackgroundShare(shot, kFirstOutput) > 0.9 ||
                                               BackgroundShare(shot, kSecondOutput) > 0.9);
}
} // namespace

TEST(Weston, TheProgramRunsOnAWaylandDeskWithTwoOutputs)
{
    const QString waylandPlugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                  QStringLiteral("/platforms/libqwayland-generic.so");
    if (!QFileInfo::exists(waylandPlugin))
        GTEST_SKIP() << "qt6-wayland is not installed: the Wayland cases are not run";
    const WestonDesk desk;
    if (!desk.Problem().isEmpty())
        GTEST_SKIP() << desk.Problem().toStdString() << ": the Wayland cases are not run";
    QProcess client;
    QProcessEnvironment environment = desk.ClientEnvironment();
    environment.insert(QString::fromLatin1(kClientVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::MergedChannels);
    client.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=WestonClient.*")});
    ASSERT_TRUE(client.waitForFinished(120000));
    const QString said = QString::fromLocal8Bit(client.readAll());
    EXPECT_EQ(client.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("[  PASSED  ] 1 test"))) << said.toStdString();
}

class WestonClient : public AppFixture
{
  protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty(kClientVariable))
            GTEST_SKIP() << "runs inside the Weston case";
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
        QDir::setCurrent(PathOf(QString()));
    }

    // While a run is up: once it has shown for a while, takes screenshots
    // of both outputs until one shows the prompter (a loaded machine takes
    // its time to put it on the glass), then ends the run with Esc, through
    // the prompter's window. The last screenshot of each run is kept.
    void ShootAndStopEachRun()
    {
        m_driver.setInterval(20);
        QObject::connect(&m_driver, &QTimer::timeout, [this] {
            QWidget* prompter = g_runState.prompterWindow;
            if (!g_runState.running || !prompter)
                return;
            if (prompter != m_prompter) {
                m_prompter = prompter;
                m_shown.start();
                m_nextShotAt = 700;
            }
            if (m_shown.elapsed() < m_nextShotAt)
                return;
            QProcess::execute(QStringLiteral("weston-screenshooter"), {});
            m_lastShot = NewestScreenshot();
            if (!ShowsThePrompter(m_lastShot) && m_shown.elapsed() < 20000) {
                m_nextShotAt = m_shown.elapsed() + 300;
                return;
            }
            QTest::keyClick(prompter->windowHandle(), Qt::Key_Escape);
        });
        m_driver.start();
    }

    // The screenshot that ended the last run.
    QImage TakeScreenshot() const { return m_lastShot; }

  private:
    // The newest screenshot, taken away so that the next one is found.
    QImage NewestScreenshot() const
    {
        QDir folder(PathOf(QString()));
        const QStringList shots =
            folder.entryList({QStringLiteral("wayland-screenshot*.png")}, QDir::Files, QDir::Time);
        if (shots.isEmpty())
            return QImage();
        const QImage shot(folder.filePath(shots.first()));
        for (const QString& name : shots)
            folder.remove(name);
        return shot;
    }

    ScopedTickSource m_frozenTicks{[] { return std::uint64_t{0}; }};
    QTimer m_driver;
    QPointer<QWidget> m_prompter; // the window of the run going on
    QElapsedTimer m_shown;        // since it came up
    qint64 m_nextShotAt = 0;      // ms after it came up
    QImage m_lastShot;
};

TEST_F(WestonClient, ThePrompterFillsTheChosenOutputAndTheControlWindowGoesOn)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    WriteBytes(QStringLiteral("vellor.txt"), "Good evening.\r\n");
    WriteBytes(QStringLiteral("vellor.ini"),
               "[Settings]\nCRBack=" + QByteArray::number(kBackgroundRef) + "\n");
    ShootAndStopEachRun();
    QImage onMonitor1, onMonitor2;
    bool closedByEsc = false;
    Run([&](CVellorDlg& w) {
        // SCROLL, clicked where it shows in the control window.
        const auto clickScroll = [&w] {
            QWidget* scroll = w.Button(Ids::kScrollButton);
            QTest::mouseClick(w.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              scroll->mapTo(&w, scroll->rect().center()));
        };
        clickScroll();
        onMonitor1 = TakeScreenshot();
        w.m_bMonitor2 = true;
        clickScroll();
        onMonitor2 = TakeScreenshot();
        // The control window still takes the operator's keys afterwards.
        w.SpeedSlider().setFocus();
        QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
        closedByEsc = !w.isVisible();
    });
    EXPECT_TRUE(closedByEsc);
    EXPECT_TRUE(m_dialogs.messages.empty());
    const QRect& first = kFirstOutput;
    const QRect& second = kSecondOutput;
    ASSERT_EQ(onMonitor1.size(), QSize(2048, 768));
    ASSERT_EQ(onMonitor2.size(), QSize(2048, 768));
    EXPECT_GT(BackgroundShare(onMonitor1, first), 0.9);
    EXPECT_LT(BackgroundShare(onMonitor1, second), 0.1);
    EXPECT_GT(BackgroundShare(onMonitor2, second), 0.9);
    EXPECT_LT(BackgroundShare(onMonitor2, first), 0.1);
    EXPECT_TRUE(SettingsFile().contains("CRBack=" + QByteArray::number(kBackgroundRef)));
}
