#include "AppFixture.h"

#include "ModulePath.h"
#include "MySliderControl.h"
#include "ResourceIds.h"
#include "ScriptEditor.h"
#include "XButton.h"

#include <QAction>
#include <QTest>
#include <ostream>

class VellorApp : public AppFixture
{
};

namespace
{

// What the control window's boxes and slider show.
struct Shown {
    bool mon1Fwd, mon1Rev, mon2Fwd, mon2Rev, mouse, wheel;
    int slider;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out)
{
    *out << "mon1 " << s.mon1Fwd << s.mon1Rev << " mon2 " << s.mon2Fwd << s.mon2Rev << " mouse "
         << s.mouse << " wheel " << s.wheel << " slider " << s.slider;
}

Shown Read(CVellorDlg& w)
{
    const auto checked = [&w](int id) { return w.Button(id)->IsChecked(); };
    return {checked(Ids::kMon1FwdCheck), checked(Ids::kMon1RevCheck),
            checked(Ids::kMon2FwdCheck), checked(Ids::kMon2RevCheck),
            checked(Ids::kMouseCheck),   checked(Ids::kMouseWheelCheck),
            w.SpeedSlider().value()};
}

} // namespace

TEST_F(VellorApp, FirstStartShowsTheDefaultsAndWritesTheFirstRunSettings)
{
    Shown shown{};
    QColor background, text;
    QString face;
    const bool result = Run([&](CVellorDlg& w) {
        shown = Read(w);
        background = w.Editor().palette().color(QPalette::Base);
        text = w.Editor().palette().color(QPalette::Text);
        face = w.m_settings.m_strFontName;
    });

    EXPECT_FALSE(result);
    EXPECT_EQ(shown, (Shown{false, true, false, false, false, true, 32000 - 80}));
    EXPECT_EQ(background, QColor(Qt::white));
    EXPECT_EQ(text, QColor(Qt::black));
    EXPECT_EQ(face, QStringLiteral("Arial Black"));
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text,
              QStringLiteral("There was a problem opening the file ") + DefaultScript() + ".");
    EXPECT_EQ(m_dialogs.messages[0].caption, ApplicationTitle());

    EXPECT_FALSE(settingsExistedWhileOpen);
    EXPECT_EQ(SettingsFile(), "[Settings]\r\nMRF=" + DefaultScript().toUtf8() +
                                  "\r\nCRBack=16777215\r\nCRText=0\r\nScrollSpeed=80\r\n"
                                  "CPUSpeed=2\r\nUseMouse=0\r\nRightReading=0\r\n"
                                  "FontName=Arial Black\r\nFontSize=240\r\n");
}

TEST_F(VellorApp, RightReadingAndMouseSettingsStartForwardWithMouseControl)
{
    WriteBytes(QStringLiteral("vellor.ini"), "[Settings]\nRightReading=1\nUseMouse=1\n");
    Shown shown{};
    Run([&](CVellorDlg& w) { shown = Read(w); });
    EXPECT_EQ(shown, (Shown{true, false, false, false, true, false, 32000 - 80}));
    EXPECT_TRUE(SettingsFile().contains("RightReading=1\n"));
    EXPECT_TRUE(SettingsFile().contains("UseMouse=1\n"));
}

TEST_F(VellorApp, AStartingSpeedBeyondEitherEndIsShownAndSavedAsThatEnd)
{
    const struct {
        const char* stored;
        int slider;
        const char* saved;
    } speeds[] = {{"40000", 0, "32000"},
                  {"2147483647", 0, "32000"},
                  {"-5", 32000, "0"},
                  {"-2147483648", 32000, "0"}};
    for (const auto& speed : speeds) {
        SCOPED_TRACE(speed.stored);
        WriteBytes(QStringLiteral("vellor.ini"),
                   QByteArray("[Settings]\nScrollSpeed=") + speed.stored + "\nCPUSpeed=7\n");
        Shown shown{};
        Run([&](CVellorDlg& w) { shown = Read(w); });
        EXPECT_EQ(shown.slider, speed.slider);
        EXPECT_TRUE(SettingsFile().contains(QByteArray("ScrollSpeed=") + speed.saved + "\n"));
        EXPECT_TRUE(SettingsFile().contains("CPUSpeed=7\n"));
    }
}

TEST_F(VellorApp, TheCloseBoxEscapeAndFileExitEachSaveTheSliderAndMouseBoxAtClosing)
{
    const std::pair<std::function<void(CVellorDlg&)>, int> closings[] = {
        {[](CVellorDlg& w) { w.close(); }, 500},
        {[](CVellorDlg& w) { QTest::keyClick(&w.SpeedSlider(), Qt::Key_Escape); }, 2000},
        {[](CVellorDlg& w) { w.CommandAction(Ids::kCmdExit)->trigger(); }, 3000},
    };
    for (const auto& [close, speed] : closings) {
        SCOPED_TRACE(speed);
        QFile::remove(SettingsPath());
        Run([&close, speed](CVellorDlg& w) {
            w.SpeedSlider().setValue(32000 - speed);
            w.Button(Ids::kMouseCheck)->SetChecked(true, false);
            close(w);
        });
        EXPECT_FALSE(settingsExistedWhileOpen);
        EXPECT_EQ(record.m_nScrollSpeed, speed);
        EXPECT_TRUE(record.m_bUseMouse);
        EXPECT_TRUE(SettingsFile().contains("ScrollSpeed=" + QByteArray::number(speed) + "\r\n"));
        EXPECT_TRUE(SettingsFile().contains("UseMouse=1\r\n"));
    }
}

TEST_F(VellorApp, TheOperatorsPreviewComesFromItsSectionAndGoesBackThereAtClosing)
{
    WriteBytes(QStringLiteral("vellor.ini"), "[Prompter]\r\nPreview=1\r\n");
    bool shownAtOpening = false;
    Run([&shownAtOpening](CVellorDlg& w) {
        shownAtOpening = w.m_settings.showPreview;
        w.CommandAction(Ids::kCmdOperatorPreview)->trigger();
        w.close();
    });
    EXPECT_TRUE(shownAtOpening);
    EXPECT_TRUE(SettingsFile().contains("Preview=0\r\n"));
    EXPECT_FALSE(SettingsFile().contains("ReadingCue")) << "the cue did not change";
}
