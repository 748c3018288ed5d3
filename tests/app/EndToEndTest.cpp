#include "AppFixture.h"

#include "MySliderControl.h"
#include "ResourceIds.h"
#include "ScriptEditor.h"
#include "ScrollRunState.h"
#include "TickSource.h"
#include "XButton.h"

#include <QElapsedTimer>
#include <QScreen>
#include <QTest>

// The whole program on a desk with two screens: start, load the last script,
// scroll it on each monitor under the operator's keys, close, and find the
// operator's choices in the settings file.
class EndToEnd : public AppFixture
{
  protected:
    // The prompter's keys, sent one per timer turn while a run is going.
    void Drive(std::vector<Qt::Key> keys)
    {
        m_keys = std::move(keys);
        m_clock.start();
    }

    void SetUp() override
    {
        m_driver.setInterval(5);
        QObject::connect(&m_driver, &QTimer::timeout, [this] {
            if (m_clock.isValid() && m_clock.elapsed() > 20000)
                g_runState.running = false;
            QWidget* prompter = g_runState.prompterWindow;
            if (!g_runState.running || !prompter || m_keys.empty())
                return;
            if (prompterScreen.isEmpty())
                prompterScreen = prompter->screen()->name();
            QTest::keyClick(prompter, m_keys.front());
            m_keys.erase(m_keys.begin());
        });
        m_driver.start();
    }

    QString prompterScreen;

  private:
    // No step is ever due, so the text stands where it starts.
    ScopedTickSource m_frozenTicks{[] { return std::uint64_t{0}; }};
    std::vector<Qt::Key> m_keys;
    QTimer m_driver;
    QElapsedTimer m_clock;
};

TEST_F(EndToEnd, ScrollsTheLoadedScriptOnBothMonitorsAndSavesTheFinalSpeed)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    WriteBytes(QStringLiteral("news.txt"), "Good evening.\r\nHere is the news.\r\n");
    WriteBytes(QStringLiteral("vellor.ini"),
               "[Settings]\nMRF=" + PathOf(QStringLiteral("news.txt")).toUtf8() +
                   "\nScrollSpeed=5000\nRightReading=1\nFontName=DejaVu Sans\nFontSize=120\n");
    QByteArray loaded;
    QString firstScreen, secondScreen;
    std::string captured;
    bool firstMirror = true, secondMirror = false;

    Run([&](CVellorDlg& w) {
        loaded = w.Editor().Text();
        // Monitor 1, right-reading: resume, two steps faster, pause, stop.
        Drive({Qt::Key_Space, Qt::Key_F, Qt::Key_F, Qt::Key_Space, Qt::Key_Escape});
        QTest::mouseClick(w.Button(Ids::kScrollButton), Qt::LeftButton);
        firstScreen = prompterScreen;
        firstMirror = g_runParams.mirror;
        captured = g_runParams.scriptText.View();

        // Monitor 2, mirror-reversed, chosen as the display-format commands do.
        prompterScreen.clear();
        w.m_bMonitor2 = true;
        w.Button(Ids::kMon1FwdCheck)->SetChecked(false, true);
        w.Button(Ids::kMon2RevCheck)->SetChecked(true, true);
        Drive({Qt::Key_Escape});
        QTest::mouseClick(w.Button(Ids::kScrollButton), Qt::LeftButton);
        secondScreen = prompterScreen;
        secondMirror = g_runParams.mirror;

        QTest::keyClick(&w.SpeedSlider(), Qt::Key_Escape);
    });

    EXPECT_EQ(loaded, QByteArray("Good evening.\nHere is the news.\n"));
    EXPECT_EQ(captured, "Good evening.\r\nHere is the news.\r\n\r\n");
    EXPECT_EQ(firstScreen, QStringLiteral("Operator"));
    EXPECT_FALSE(firstMirror);
    EXPECT_EQ(secondScreen, QStringLiteral("Prompter"));
    EXPECT_TRUE(secondMirror);
    EXPECT_EQ(SettingsFile(), "[Settings]\nMRF=" + PathOf(QStringLiteral("news.txt")).toUtf8() +
                                  "\nScrollSpeed=4000\nRightReading=1\nFontName=DejaVu Sans\n"
                                  "FontSize=120\nCRBack=16777215\nCRText=0\nCPUSpeed=2\n"
                                  "UseMouse=0\n");
}
