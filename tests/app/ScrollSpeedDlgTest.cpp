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

TEST_F(ScrollSpeedDialog, OpensShowingItsValueWithTheFocusOnOk)
{
    Open(250);
    EXPECT_EQ(m_dialog.windowTitle(), "Set Scrolling Speed");
    EXPECT_EQ(Edit()->text(), "250");
    EXPECT_EQ(m_dialog.focusWidget(), Button("ok"));
    EXPECT_TRUE(Button("ok")->isDefault());
}

TEST_F(ScrollSpeedDialog, StartsAtZeroAndRefusesItAtOnce)
{
    EXPECT_EQ(m_dialog.m_nSpeed, 0);
    m_dialog.show();
    EXPECT_EQ(Edit()->text(), "0");
    PressOk();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, kRangeMessage);
    EXPECT_EQ(m_dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(m_dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(m_dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
}

TEST_F(ScrollSpeedDialog, AcceptsBothEndsOfTheRangeAndReadsLeadingZerosAsDecimal)
{
    for (const auto& [typed, speed] :
         {std::pair{"1", 1}, std::pair{"1000", 1000}, std::pair{"0005", 5}}) {
        SCOPED_TRACE(typed);
        Open(50);
        Type(typed);
        PressOk();
        EXPECT_FALSE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
        EXPECT_EQ(m_dialog.m_nSpeed, speed);
    }
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(ScrollSpeedDialog, RefusesValuesOutsideTheRangeKeepingTheOldValue)
{
    for (const QString typed : {"1001", "0", "", "4294967296", "99999999999999999999"}) {
        Open(77);
        Type(typed);
        PressOk();
        EXPECT_TRUE(m_dialog.isVisible()) << typed.toStdString();
        EXPECT_EQ(m_dialog.m_nSpeed, 77);
        m_dialog.hide();
    }
    EXPECT_EQ(m_dialogs.messages.size(), 5u);
}

TEST_F(ScrollSpeedDialog, TakesDigitsOnly)
{
    Open(50);
    Type("1a2-3 .4");
    EXPECT_EQ(Edit()->text(), "1234");
}

TEST_F(ScrollSpeedDialog, RefusesANegativeValueItWasOpenedWith)
{
    Open(-5);
    EXPECT_EQ(Edit()->text(), "-5");
    PressOk();
    EXPECT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialog.m_nSpeed, -5);
}

TEST_F(ScrollSpeedDialog, CancelAndEscapeKeepTheValueAndEnterPressesOk)
{
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey);
        Open(300);
        Type("500");
        if (byKey)
            QTest::keyClick(Edit(), Qt::Key_Escape);
        else
            QTest::mouseClick(Button("cancel"), Qt::LeftButton);
        EXPECT_FALSE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
        EXPECT_EQ(m_dialog.m_nSpeed, 300);
    }
    Open(300);
    Type("600");
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_dialog.m_nSpeed, 600);
}

TEST_F(ScrollSpeedDialog, LaysOutItsTemplateInDialogUnits)
{
    EXPECT_EQ(m_dialog.size(), QSize(279, 107));
    EXPECT_EQ(Button("ok")->geometry(), QRect(110, 73, 75, 23));
    EXPECT_EQ(Button("cancel")->geometry(), QRect(194, 73, 75, 23));
    EXPECT_EQ(Edit()->geometry(), QRect(110, 21, 78, 21));
    QStringList texts;
    for (const QLabel* label : m_dialog.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_EQ(texts, (QStringList{"Speed Value:", "Note: Valid range is 1 -> 1000"}));
}
