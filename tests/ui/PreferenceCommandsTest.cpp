#include "ControlWindowFixture.h"
#include "MenuRefresh.h"

#include "FontChooser.h"
#include "ScrollSpeedDlg.h"
#include "TextFontDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <array>

// The operator's preferences in the control window: display format, speed
// control, colours, font and scroll speed. The window starts as a first
// start does: monitor 1 reversed, mouse wheel, slider at 32000 - 80.
class PreferenceCommands : public ControlWindowFixture
{
  protected:
    void SetUp() override
    {
        WriteBytes(QStringLiteral("script.txt"), "Good evening.\r\n");
        Open();
    }

    // A click with the mouse on a visible box, as the operator makes it.
    void ClickBox(int id) { QTest::mouseClick(Window().Button(id), Qt::LeftButton); }

    // The four display-format boxes that are checked, in the order 1024, 1025, 2024, 2025.
    std::array<bool, 4> FormatBoxes() const
    {
        return {Checked(Ids::kMon1FwdCheck), Checked(Ids::kMon1RevCheck),
                Checked(Ids::kMon2FwdCheck), Checked(Ids::kMon2RevCheck)};
    }
};

namespace
{

// One display format as a box click or a menu item chooses it.
struct FormatCase {
    int box;
    int command;
    bool monitor2;
    bool reverse;
    std::array<bool, 4> boxes;
};

constexpr std::array<FormatCase, 4> kFormats{{
    {Ids::kMon1FwdCheck, Ids::kCmdMon1Fwd, false, false, {true, false, false, false}},
    {Ids::kMon1RevCheck, Ids::kCmdMon1Rev, false, true, {false, true, false, false}},
    {Ids::kMon2FwdCheck, Ids::kCmdMon2Fwd, true, false, {false, false, true, false}},
    {Ids::kMon2RevCheck, Ids::kCmdMon2Rev, true, true, {false, false, false, true}},
}};

} // namespace

// Display format.

TEST_F(PreferenceCommands, EachFormatBoxOrMenuItemChecksOnlyItsBoxAndChoosesMonitorAndDirection)
{
    for (const bool byMenu : {false, true}) {
        for (const FormatCase& format : kFormats) {
            SCOPED_TRACE(testing::Message() << "menu " << byMenu << " box " << format.box);
            if (byMenu) {
                Window().CommandAction(format.command)->trigger();
            } else {
                // A second click on the checked box leaves it checked.
                ClickBox(format.box);
                ClickBox(format.box);
            }
            EXPECT_EQ(FormatBoxes(), format.boxes);
            EXPECT_EQ(Window().m_bMonitor2, format.monitor2);
            EXPECT_EQ(format.monitor2 ? Window().m_bMon2Reverse
                                      : !Window().m_settings.m_bRightReading,
                      format.reverse);
        }
    }
}

TEST_F(PreferenceCommands, TheMenuShowsTheFlagsOneDirectionForEachMonitorWhicheverIsChosen)
{
    // At start monitor 2 has never been chosen: its forward item is checked.
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdMon1Rev));
    // Clicking a checked item would toggle it off; the rule puts the mark back.
    Window().CommandAction(Ids::kCmdMon1Rev)->trigger();
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdMon1Rev));
    EXPECT_TRUE(Checked(Ids::kMon1RevCheck));
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdMon2Fwd));
    EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdMon2Rev));

    // Monitor 1's direction is what the settings keep; choosing monitor 2 leaves it.
    for (const int mon1 : {Ids::kCmdMon1Fwd, Ids::kCmdMon1Rev}) {
        SCOPED_TRACE(mon1);
        const bool reverse = mon1 == Ids::kCmdMon1Rev;
        Window().CommandAction(mon1)->trigger();
        ClickBox(Ids::kMon2RevCheck);
        EXPECT_TRUE(Window().m_bMonitor2);
        EXPECT_EQ(!Window().m_settings.m_bRightReading, reverse);
        EXPECT_EQ(MenuShowsCheck(Window(), Ids::kCmdMon1Rev), reverse);
        EXPECT_EQ(MenuShowsCheck(Window(), Ids::kCmdMon1Fwd), !reverse);
        EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdMon2Rev));
        EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdMon2Fwd));
    }
    Window().done(QDialog::Rejected);
    EXPECT_TRUE(!Window().m_settings.m_bRightReading);
}

// Speed control.

TEST_F(PreferenceCommands, ClickingEitherMouseBoxSwapsThePairAndBackButNotTheMenuMarks)
{
    for (const int box : {Ids::kMouseCheck, Ids::kMouseWheelCheck}) {
        SCOPED_TRACE(box);
        ASSERT_TRUE(Checked(Ids::kMouseWheelCheck));
        ClickBox(box);
        EXPECT_TRUE(Checked(Ids::kMouseCheck));
        EXPECT_FALSE(Checked(Ids::kMouseWheelCheck));
        EXPECT_FALSE(Window().m_settings.m_bUseMouse);
        EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdMouseWheel));
        EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdMouse));
        ClickBox(box);
        EXPECT_FALSE(Checked(Ids::kMouseCheck));
        EXPECT_TRUE(Checked(Ids::kMouseWheelCheck));
    }
}

TEST_F(PreferenceCommands, EachMouseMenuItemSetsTheFlagTheBoxesAndTheMarks)
{
    for (const int command : {Ids::kCmdMouse, Ids::kCmdMouseWheel, Ids::kCmdMouse}) {
        SCOPED_TRACE(command);
        const bool mouse = command == Ids::kCmdMouse;
        Window().CommandAction(command)->trigger();
        EXPECT_EQ(Window().m_settings.m_bUseMouse, mouse);
        EXPECT_EQ(Checked(Ids::kMouseCheck), mouse);
        EXPECT_EQ(Checked(Ids::kMouseWheelCheck), !mouse);
        EXPECT_EQ(MenuShowsCheck(Window(), Ids::kCmdMouse), mouse);
        EXPECT_EQ(MenuShowsCheck(Window(), Ids::kCmdMouseWheel), !mouse);
    }
    // Closing reads the mode back from the box, so the mouse mode is what is saved.
    Window().done(QDialog::Rejected);
    EXPECT_TRUE(Window().m_settings.m_bUseMouse);
}

TEST_F(PreferenceCommands, TheHiddenSecondaryDisplayPairStaysOpposite)
{
    CXButton& enable = Box(Ids::kEnableSecondaryCheck);
    CXButton& disable = Box(Ids::kDisableSecondaryCheck);
    ASSERT_FALSE(enable.IsChecked());
    ASSERT_FALSE(disable.IsChecked());
    // Each click gives the pair the clicked box's new state, opposite.
    for (const auto& [clicked, enabled] :
         {std::pair{&enable, true}, std::pair{&enable, false}, std::pair{&disable, true}}) {
        clicked->click();
        EXPECT_EQ(enable.IsChecked(), enabled);
        EXPECT_EQ(disable.IsChecked(), !enabled);
    }
}

// Background colour.

TEST_F(PreferenceCommands, TheBackgroundColourStartsAtTheCurrentOneAndOnlyAnAcceptedOneIsTaken)
{
    // The button, then the menu item; the second dialog is cancelled.
    m_dialogs.colorAnswers.push_back(ColorRef{0x00336699});
    ClickBox(Ids::kBackColorButton);
    Window().CommandAction(Ids::kCmdBackgroundColor)->trigger();
    EXPECT_EQ(m_dialogs.colorDialogStarts,
              (std::vector<ColorRef>{ColorRef{0x00FFFFFF}, ColorRef{0x00336699}}));
    EXPECT_EQ(Window().m_settings.m_crBack, ColorRef{0x00336699});
    EXPECT_EQ(Editor().palette().color(QPalette::Base), ToQColor(0x00336699));
}

// Font.

namespace
{

// What the font dialog showed when it opened.
struct FontDialogStart {
    QFont font;
    ColorRef color = 0;
};

// Queues an answer to the font dialog: records what it started with, picks
// `font` and `color`, and answers `result`.
void AnswerFontDialog(FakeDialogService& dialogs, FontDialogStart& start, const QFont& font,
                      ColorRef color, int result)
{
    dialogs.dialogHandlers.push_back([&start, font, color, result](QDialog& dialog) {
        auto& fontDialog = dynamic_cast<TextFontDialog&>(dialog);
        start = {fontDialog.Chooser().CurrentFont(), fontDialog.Choice().color};
        fontDialog.Chooser().SetFont(font);
        fontDialog.SelectColor(color);
        return result;
    });
}

} // namespace

TEST_F(PreferenceCommands, AnAcceptedFontSetsFaceSizeColourAndTheEditorsWeight)
{
    FontDialogStart start;
    QFont chosen(QStringLiteral("DejaVu Serif"), -1, QFont::Bold);
    chosen.setPointSizeF(10.5);
    AnswerFontDialog(m_dialogs, start, chosen, MakeColorRef(128, 0, 0), QDialog::Accepted);
    ClickBox(Ids::kFontButton);
    EXPECT_EQ(Window().m_settings.m_strFontName, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Window().m_settings.m_nFontSize, 105);
    EXPECT_EQ(Window().m_settings.m_crText, MakeColorRef(128, 0, 0));
    const QFont shown = Editor().font();
    EXPECT_EQ(shown.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(shown.pointSizeF(), 10.5);
    EXPECT_EQ(shown.weight(), QFont::Bold);
    EXPECT_EQ(Editor().palette().color(QPalette::Text), QColor(128, 0, 0));
}

TEST_F(PreferenceCommands, TheFontDialogStartsAtTheWholePointSizeAndCancelChangesNothing)
{
    Window().m_settings.m_nFontSize = 125;
    Window().m_settings.m_crText = MakeColorRef(0, 0, 128);
    const QFont before = Editor().font();
    FontDialogStart start;
    AnswerFontDialog(m_dialogs, start, QFont(QStringLiteral("DejaVu Serif"), 30, QFont::Bold),
                     MakeColorRef(255, 0, 0), QDialog::Rejected);
    ClickBox(Ids::kFontButton);
    EXPECT_EQ(m_dialogs.dialogsRun, 1);
    EXPECT_EQ(start.font.pointSizeF(), 12.0);
    EXPECT_EQ(start.font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(start.color, MakeColorRef(0, 0, 128));
    EXPECT_EQ(Window().m_settings.m_strFontName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Window().m_settings.m_nFontSize, 125);
    EXPECT_EQ(Window().m_settings.m_crText, MakeColorRef(0, 0, 128));
    EXPECT_EQ(Editor().font(), before);
}

// Scroll speed.

namespace
{

// Queues an answer to the scroll speed dialog: records the value it opened
// with, types `typed` and presses OK (or Cancel when `ok` is false).
void AnswerSpeedDialog(FakeDialogService& dialogs, int& openedWith, const QString& typed, bool ok)
{
    dialogs.dialogHandlers.push_back([&openedWith, typed, ok](QDialog& dialog) {
        auto& speedDialog = dynamic_cast<CScrollSpeedDlg&>(dialog);
        speedDialog.show();
        openedWith = speedDialog.m_nSpeed;
        auto* edit = speedDialog.findChild<QLineEdit*>(QStringLiteral("speedEdit"));
        edit->setText(typed);
        if (ok)
            speedDialog.accept();
        else
            speedDialog.reject();
        // A refused value leaves the dialog open; the operator then cancels.
        if (speedDialog.isVisible())
            speedDialog.reject();
        return speedDialog.result();
    });
}

} // namespace

TEST_F(PreferenceCommands, OnlyAnAcceptedValidScrollSpeedMovesTheSlider)
{
    int openedWith = -1;
    AnswerSpeedDialog(m_dialogs, openedWith, QStringLiteral("500"), false);
    Window().CommandAction(Ids::kCmdScrollSpeed)->trigger();
    EXPECT_EQ(Window().SpeedSlider().value(), 32000 - 80);

    AnswerSpeedDialog(m_dialogs, openedWith, QStringLiteral("1001"), true);
    Window().CommandAction(Ids::kCmdScrollSpeed)->trigger();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text,
              QStringLiteral("The valid range for Scroll speed value is 1 - 1000.\n"
                             "Please enter an appropriate value."));
    EXPECT_EQ(Window().SpeedSlider().value(), 32000 - 80);

    AnswerSpeedDialog(m_dialogs, openedWith, QStringLiteral("500"), true);
    Window().CommandAction(Ids::kCmdScrollSpeed)->trigger();
    // The dialog shows the slider's position, not the speed value.
    EXPECT_EQ(openedWith, 32000 - 80);
    EXPECT_EQ(Window().SpeedSlider().value(), 500);
    Window().done(QDialog::Rejected);
    EXPECT_EQ(Window().m_settings.m_nScrollSpeed, 31500);
}

TEST_F(PreferenceCommands, ReadingCueFollowsItsFlagAfterTheLastSeparator)
{
    QMenu* preferences = DropDownOf(Window(), Ids::kCmdReadingCue);
    ASSERT_NE(preferences, nullptr);
    const QList<QAction*> items = preferences->actions();
    const auto cue =
        std::find(items.begin(), items.end(), Window().CommandAction(Ids::kCmdReadingCue));
    ASSERT_NE(cue, items.begin());
    EXPECT_TRUE((*(cue - 1))->isSeparator());
    EXPECT_EQ((*cue)->text(), QStringLiteral("Reading &Cue"));

    EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdReadingCue));
    Window().CommandAction(Ids::kCmdReadingCue)->trigger();
    EXPECT_TRUE(Window().m_settings.readingCue.shown);
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdReadingCue));
    Window().CommandAction(Ids::kCmdReadingCue)->trigger();
    EXPECT_FALSE(Window().m_settings.readingCue.shown);
    EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdReadingCue));
}

TEST_F(PreferenceCommands, OperatorsPreviewIsACheckItemAfterTheLastSeparatorAndOffAtFirst)
{
    QMenu* preferences = DropDownOf(Window(), Ids::kCmdOperatorPreview);
    ASSERT_NE(preferences, nullptr);
    const QList<QAction*> items = preferences->actions();
    const QAction* preview = Window().CommandAction(Ids::kCmdOperatorPreview);
    const auto lastSeparator = std::find_if(
        items.rbegin(), items.rend(), [](const QAction* item) { return item->isSeparator(); });
    EXPECT_LT(std::distance(items.rbegin(), std::find(items.rbegin(), items.rend(), preview)),
              std::distance(items.rbegin(), lastSeparator));
    EXPECT_EQ(preview->text(), QStringLiteral("Operator's &Preview"));

    EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdOperatorPreview));
    Window().CommandAction(Ids::kCmdOperatorPreview)->trigger();
    EXPECT_TRUE(Window().m_settings.showPreview);
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdOperatorPreview));
}

TEST_F(PreferenceCommands, GlassTakesTheMarginCountdownAndClockOnOkOnly)
{
    const auto answer = [this](int margin, int countdown, bool clock, int result) {
        m_dialogs.dialogHandlers.push_back([=](QDialog& dialog) {
            dialog.show();
            const QList<QSpinBox*> boxes = dialog.findChildren<QSpinBox*>();
            boxes.at(0)->setValue(margin);
            boxes.at(1)->setValue(countdown);
            dialog.findChild<QCheckBox*>()->setChecked(clock);
            return result;
        });
        Window().CommandAction(Ids::kCmdGlass)->trigger();
    };
    answer(40, 3, true, QDialog::Accepted);
    EXPECT_EQ(Window().m_settings.glass.marginPercent, 25) << "held to the widest margin";
    EXPECT_EQ(Window().m_settings.glass.countdownSeconds, 3);
    EXPECT_TRUE(Window().m_settings.glass.clock);
    answer(5, 0, false, QDialog::Rejected);
    EXPECT_EQ(Window().m_settings.glass.marginPercent, 25);
    EXPECT_TRUE(Window().m_settings.glass.clock);
}

TEST_F(PreferenceCommands, EditWhilePromptingAndFollowTheVoiceEndTheMenuOffAtFirst)
{
    QMenu* preferences = DropDownOf(Window(), Ids::kCmdLiveEdit);
    ASSERT_NE(preferences, nullptr);
    // Follow the Voice and Outputs, newer still, follow it.
    const QList<QAction*> items = preferences->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items.at(items.size() - 3), Window().CommandAction(Ids::kCmdLiveEdit));
    EXPECT_EQ(items.at(items.size() - 3)->text(), QStringLiteral("&Edit While Prompting"));
    EXPECT_EQ(items.last(), Window().CommandAction(Ids::kCmdOutputs));
    EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdLiveEdit));
    Window().CommandAction(Ids::kCmdLiveEdit)->trigger();
    EXPECT_TRUE(Window().m_settings.liveEdit);
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdLiveEdit));

    EXPECT_EQ(items.at(items.size() - 2), Window().CommandAction(Ids::kCmdFollowVoice));
    EXPECT_EQ(items.at(items.size() - 2)->text(), QStringLiteral("Follow the &Voice"));
    EXPECT_FALSE(MenuShowsCheck(Window(), Ids::kCmdFollowVoice));
    Window().CommandAction(Ids::kCmdFollowVoice)->trigger();
    EXPECT_TRUE(Window().m_settings.voice.enabled);
    EXPECT_TRUE(MenuShowsCheck(Window(), Ids::kCmdFollowVoice));
}

TEST_F(PreferenceCommands, OutputsListsTheScreensNamesTheMissingOnesAndKeepsTheChoiceOnOk)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    Window().m_settings.outputs = {{QStringLiteral("GONE"), OutputChoice::Reversed}};
    const auto answer = [this, screen](OutputChoice choice, int result) {
        QStringList labels;
        m_dialogs.dialogHandlers.push_back([=, &labels](QDialog& dialog) {
            dialog.show();
            for (const QLabel* label : dialog.findChildren<QLabel*>())
                labels.append(label->text());
            dialog.findChild<QComboBox*>()->setCurrentIndex(static_cast<int>(choice));
            return result;
        });
        Window().CommandAction(Ids::kCmdOutputs)->trigger();
        return labels;
    };
    const QStringList labels = answer(OutputChoice::Forward, QDialog::Accepted);
    EXPECT_TRUE(labels.contains(QStringLiteral("%1, %2 x %3 (the prompter's monitor):")
                                    .arg(screen->name())
                                    .arg(screen->size().width())
                                    .arg(screen->size().height())))
        << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("Not connected now, so skipped: GONE.")));
    const OutputChoices chosen = {{QStringLiteral("GONE"), OutputChoice::Reversed},
                                  {screen->name(), OutputChoice::Forward}};
    EXPECT_EQ(Window().m_settings.outputs, chosen);
    answer(OutputChoice::Reversed, QDialog::Rejected);
    EXPECT_EQ(Window().m_settings.outputs, chosen);
}
