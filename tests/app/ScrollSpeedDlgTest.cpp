#include "ScrollSpeedDlg.h"

#include "FakeDialogService.h"
#include "ModulePath.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

const QString kRangeMessage = "The valid range for Scroll speed value is 1 - 1000.\n"
                              "Please enter an appropriate value.";

class ScrollSpeedDialog : public ::testing::Test
{
  protected:
    ScrollSpeedDialog() : m_dialog(m_dialogs) {}

    void Open(std::int32_t speed)
    {
        m_dialog.m_nSpeed = speed;
        m_dialog.show();
    }

    QLineEdit* Edit() { return m_dialog.findChild<QLineEdit*>("speedEdit"); }
    QPushButton* Button(const char* name) { return m_dialog.findChild<QPushButton*>(name); }

    void Type(const QString& text)
    {
        Edit()->clear();
        QTest::keyClicks(Edit(), text);
    }

    void PressOk() { QTest::mouseClick(Button("ok"), Qt::LeftButton); }

    FakeDialogService m_dialogs;
    CScrollSpeedDlg m_dialog;
};

} // namespace

TEST_F(ScrollSpeedDialog, OpensShowingItsValueAndTextsWithTheFocusOnOkAndTakesDigitsOnly)
{
    Open(250);
    EXPECT_EQ(m_dialog.windowTitle(), "Set Scrolling Speed");
    EXPECT_EQ(Edit()->text(), "250");
    EXPECT_EQ(m_dialog.focusWidget(), Button("ok"));
    EXPECT_TRUE(Button("ok")->isDefault());
    QStringList texts;
    for (const QLabel* label : m_dialog.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_EQ(texts, (QStringList{"Speed Value:", "Note: Valid range is 1 -> 1000"}));
    Type("1a2-3 .4");
    EXPECT_EQ(Edit()->text(), "1234");
}

TEST_F(ScrollSpeedDialog, OkAndEnterTakeAValueInRangeReadAsDecimalWhileCancelAndEscapeKeepTheOld)
{
    enum class Close { Ok, Enter, Cancel, Escape };
    const struct {
        const char* typed;
        Close close;
        std::int32_t speed; // 50 when the typed value is dropped
    } cases[] = {{"1", Close::Ok, 1},        {"1000", Close::Ok, 1000},
                 {"0005", Close::Ok, 5},     {"600", Close::Enter, 600},
                 {"500", Close::Cancel, 50}, {"500", Close::Escape, 50}};
    for (const auto& [typed, close, speed] : cases) {
        SCOPED_TRACE(testing::Message() << typed << " closed by " << static_cast<int>(close));
        Open(50);
        Type(typed);
        if (close == Close::Ok)
            PressOk();
        else if (close == Close::Cancel)
            QTest::mouseClick(Button("cancel"), Qt::LeftButton);
        else
            QTest::keyClick(Edit(), close == Close::Enter ? Qt::Key_Return : Qt::Key_Escape);
        EXPECT_FALSE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), speed == 50 ? QDialog::Rejected : QDialog::Accepted);
        EXPECT_EQ(m_dialog.m_nSpeed, speed);
    }
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(ScrollSpeedDialog, RefusesZeroNegativeAndOutOfRangeValuesWithAWarningKeepingTheOldValue)
{
    EXPECT_EQ(m_dialog.m_nSpeed, 0); // a new dialog starts at zero, which OK refuses at once
    // The speed it is opened with, then what is typed (nothing for a null).
    const std::pair<std::int32_t, const char*> cases[] = {{0, nullptr},
                                                          {-5, nullptr},
                                                          {77, "1001"},
                                                          {77, "0"},
                                                          {77, ""},
                                                          {77, "4294967296"},
                                                          {77, "99999999999999999999"}};
    for (const auto& [opened, typed] : cases) {
        SCOPED_TRACE(typed ? typed : "as opened");
        m_dialogs.messages.clear();
        Open(opened);
        if (typed)
            Type(typed);
        else
            EXPECT_EQ(Edit()->text(), QString::number(opened));
        PressOk();
        EXPECT_TRUE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
        EXPECT_EQ(m_dialog.m_nSpeed, opened);
        ASSERT_EQ(m_dialogs.messages.size(), 1u);
        EXPECT_EQ(m_dialogs.messages[0].text, kRangeMessage);
        EXPECT_EQ(m_dialogs.messages[0].caption, ApplicationTitle());
        EXPECT_EQ(m_dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(m_dialogs.messages[0].icon, MessageIcon::Exclamation);
        m_dialog.hide();
    }
}
