#include "AppFixture.h"

#include "ModulePath.h"
#include "MySliderControl.h"
#include "ResourceIds.h"
#include "ScriptEditor.h"
#include "XButton.h"

#include <QAction>
#include <QTest>

class VellorApp : public AppFixture {};

TEST_F(VellorApp, FirstStartShowsTheDefaultsAndWritesTheFirstRunSettings)
{
    bool mon1Fwd = true, mon1Rev = false, mon2Fwd = true, mon2Rev = true;
    bool mouse = true, wheel = false;
    int slider = 0;
    QColor background, text;
    QString face;
    const bool result = Run([&](CVellorDlg& w) {
        mon1Fwd = w.Button(Ids::kMon1FwdCheck)->IsChecked();
        mon1Rev = w.Button(Ids::kMon1RevCheck)->IsChecked();
        mon2Fwd = w.Button(Ids::kMon2FwdCheck)->IsChecked();
        mon2Rev = w.Button(Ids::kMon2RevCheck)->IsChecked();
        mouse = w.Button(Ids::kMouseCheck)->IsChecked();
        wheel = w.Button(Ids::kMouseWheelCheck)->IsChecked();
        slider = w.SpeedSlider().value();
        background = w.Editor().palette().color(QPalette::Base);
        text = w.Editor().palette().color(QPalette::Text);
        face = w.m_strFontName;
    });

    EXPECT_FALSE(result);
    EXPECT_FALSE(mon1Fwd);
    EXPECT_TRUE(mon1Rev);
    EXPECT_FALSE(mon2Fwd);
    EXPECT_FALSE(mon2Rev);
    EXPECT_FALSE(mouse);
    EXPECT_TRUE(wheel);
    EXPECT_EQ(slider, 32000 - 80);
    EXPECT_EQ(background, QColor(Qt::white));
    EXPECT_EQ(text, QColor(Qt::black));
    EXPECT_EQ(face, QStringLiteral("Arial Black"));
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text,
              QStringLiteral("There was a problem opening the file ") + DefaultScript() + ".");
    EXPECT_EQ(m_dialogs.messages[0].caption, ApplicationTitle());

    EXPECT_FALSE(settingsExistedWhileOpen);
    EXPECT_EQ(SettingsFile(), "[Settings]\nMRF=" + DefaultScript().toUtf8() +
                                  "\nCRBack=16777215\nCRText=0\nScrollSpeed=80\nCPUSpeed=2\n"
                                  "UseMouse=0\nRightReading=0\nFontName=Arial Black\n"
                                  "FontSize=240\n");
}

TEST_F(VellorApp, RightReadingAndMouseSettingsStartForwardWithMouseControl)
{
    WriteBytes(QStringLiteral("vellor.ini"), "[Settings]\nRightReading=1\nUseMouse=1\n");
    bool mon1Fwd = false, mon1Rev = true, mouse = false, wheel = true;
    Run([&](CVellorDlg& w) {
        mon1Fwd = w.Button(Ids::kMon1FwdCheck)->IsChecked();
        mon1Rev = w.Button(Ids::kMon1RevCheck)->IsChecked();
        mouse = w.Button(Ids::kMouseCheck)->IsChecked();
        wheel = w.Button(Ids::kMouseWheelCheck)->IsChecked();
    });
    EXPECT_TRUE(mon1Fwd);
    EXPECT_FALSE(mon1Rev);
    EXPECT_TRUE(mouse);
    EXPECT_FALSE(wheel);
    EXPECT_TRUE(SettingsFile().contains("RightReading=1\n"));
    EXPECT_TRUE(SettingsFile().contains("UseMouse=1\n"));
}

TEST_F(VellorApp, AStartingSpeedBeyondTheSlowEndIsSavedAsTheSlowEnd)
{
    WriteBytes(QStringLiteral("vellor.ini"), "[Settings]\nScrollSpeed=40000\nCPUSpeed=7\n");
    int slider = -1;
    Run([&](CVellorDlg& w) { slider = w.SpeedSlider().value(); });
    EXPECT_EQ(slider, 0);
    EXPECT_TRUE(SettingsFile().contains("ScrollSpeed=32000\n"));
    EXPECT_TRUE(SettingsFile().contains("CPUSpeed=7\n"));
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
        EXPECT_TRUE(SettingsFile().contains("ScrollSpeed=" + QByteArray::number(speed) + "\n"));
        EXPECT_TRUE(SettingsFile().contains("UseMouse=1\n"));
    }
}

TEST_F(VellorApp, OtherLinesOfTheSettingsFileAreKept)
{
    WriteBytes(QStringLiteral("vellor.ini"), "; kept\n[Other]\nx=1\n[Settings]\nFontSize=120\n");
    Run([](CVellorDlg&) {});
    const QByteArray file = SettingsFile();
    EXPECT_TRUE(file.startsWith("; kept\n[Other]\nx=1\n[Settings]\nFontSize=120\n"));
    EXPECT_EQ(file.count("FontSize="), 1);
}

TEST(SettingsMapping, MonitorOneReversalIsTheNegationOfRightReadingBothWays)
{
    FakeDialogService dialogs;
    CVellorDlg window(dialogs);
    Settings settings;
    settings.m_strMRF = QStringLiteral("/scripts/news.txt");
    settings.m_crBack = 0x00102030;
    settings.m_crText = 0x00405060;
    settings.m_nScrollSpeed = 1234;
    settings.m_nCPUSpeed = 5;
    settings.m_bUseMouse = true;
    settings.m_bRightReading = true;
    settings.m_strFontName = QStringLiteral("Liberation Serif");
    settings.m_nFontSize = 105;

    CopySettingsToWindow(settings, window);
    EXPECT_FALSE(window.m_bMon1Reverse);
    EXPECT_EQ(window.m_strFilePath, settings.m_strMRF);
    EXPECT_EQ(window.m_crBack, settings.m_crBack);
    EXPECT_EQ(window.m_crText, settings.m_crText);
    EXPECT_EQ(window.m_nScrollSpeed, 1234);
    EXPECT_EQ(window.m_nCPUSpeed, 5);
    EXPECT_TRUE(window.m_bUseMouse);
    EXPECT_EQ(window.m_strFontName, settings.m_strFontName);
    EXPECT_EQ(window.m_nFontSize, 105);

    window.m_bMon1Reverse = true;
    Settings back;
    CopyWindowToSettings(window, back);
    EXPECT_FALSE(back.m_bRightReading);
    back.m_bRightReading = true;
    EXPECT_EQ(back.m_strMRF, settings.m_strMRF);
    EXPECT_EQ(back.m_crBack, settings.m_crBack);
    EXPECT_EQ(back.m_crText, settings.m_crText);
    EXPECT_EQ(back.m_nScrollSpeed, settings.m_nScrollSpeed);
    EXPECT_EQ(back.m_nCPUSpeed, settings.m_nCPUSpeed);
    EXPECT_EQ(back.m_bUseMouse, settings.m_bUseMouse);
    EXPECT_EQ(back.m_strFontName, settings.m_strFontName);
    EXPECT_EQ(back.m_nFontSize, settings.m_nFontSize);
}
