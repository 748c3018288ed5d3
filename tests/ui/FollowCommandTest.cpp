#include "ControlWindowFixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{
class FollowCommand : public ControlWindowFixture
{
};
} // namespace

TEST_F(FollowCommand, TheDialogTakesOnlyAnAddressThatCanBeFollowed)
{
    Open();
    QString refusal;
    int accepted = -1;
    m_dialogs.dialogHandlers.push_back([&](QDialog& dialog) {
        auto* address = dialog.findChild<QLineEdit*>(QStringLiteral("address"));
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::keyClicks(address, QStringLiteral("http://127.0.0.1:8787/"));
        QTest::mouseClick(ok, Qt::LeftButton);
        refusal = dialog.findChild<QLabel*>(QStringLiteral("problem"))->text();
        accepted = dialog.result();
        QTest::keyClicks(address, QStringLiteral("#token=00112233445566778899aabbccddeeff"));
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return QDialog::Rejected; // nothing to follow in a test
    });
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdFollow));
    EXPECT_EQ(refusal, QStringLiteral("The token is missing or is not hexadecimal digits."));
    EXPECT_NE(accepted, QDialog::Accepted);

    // The command line's address is read as the dialog's is, and told of when it is none.
    const std::size_t told = m_dialogs.messages.size();
    Window().QueueFollow(QStringLiteral("ftp://studio/"));
    QApplication::processEvents();
    ASSERT_EQ(m_dialogs.messages.size(), told + 1);
    EXPECT_EQ(
        m_dialogs.messages.back().text,
        QStringLiteral("\"ftp://studio/\" is not the address of a prompter's remote control."));
}
