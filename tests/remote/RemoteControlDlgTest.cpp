#include "RemoteControlDlg.h"
#include "ControlWindowFixture.h"
#include "Ini.h"
#include "RemoteControl.h"
#include "ResourceIds.h"
#include "ScrollRunState.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace
{
// Clicks `widget` near its left end, where a check box has its box, the
// way a mouse does: through its window.
void ClickThroughWindow(QWidget& widget)
{
    QWindow* window = widget.window()->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window, Qt::LeftButton, {},
                      widget.mapTo(widget.window(), QPoint(8, widget.height() / 2)));
}
} // namespace

TEST(RemoteControlDialog, TurningOnMakesATokenAndShowsTheAddressAsTextAndAsAQrCode)
{
    RemoteControlDlg dialog(RemoteSettings{}, 2, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.AddressLabel().text(), QStringLiteral("Remote control is off."));
    EXPECT_EQ(dialog.ClientsLabel().text(), QStringLiteral("Connected clients: 2"));

    ClickThroughWindow(dialog.EnabledBox());
    const RemoteSettings on = dialog.Settings();
    ASSERT_TRUE(on.enabled);
    EXPECT_TRUE(IsStrongRemoteToken(on.token));
    EXPECT_TRUE(dialog.AddressLabel().text().contains(
        QStringLiteral("http://127.0.0.1:8787/#token=") + on.token));
    EXPECT_FALSE(dialog.QrCodeLabel().pixmap().isNull());

    dialog.PortBox().setValue(9000);
    ClickThroughWindow(*dialog.findChild<QPushButton*>());
    EXPECT_NE(dialog.Settings().token, on.token);
    EXPECT_EQ(dialog.Settings().port, 9000);
    dialog.SetClientCount(5);
    EXPECT_EQ(dialog.ClientsLabel().text(), QStringLiteral("Connected clients: 5"));
}

class RemoteControlMenu : public ControlWindowFixture
{
};

TEST_F(RemoteControlMenu, SitsAfterPreferencesLastSeparatorAndAppliesTheDialogOnOk)
{
    Open();
    const QList<QAction*> menus = Window().findChild<QMenuBar*>()->actions();
    const auto preferences = std::find_if(menus.begin(), menus.end(), [](QAction* a) {
        return a->text() == QStringLiteral("&Preferences");
    });
    ASSERT_NE(preferences, menus.end());
    const QList<QAction*> items = (*preferences)->menu()->actions();
    // Only items of our own (the reading cue, the operator's preview) stand
    // between it and the last separator; more of our own may follow it.
    const auto separator =
        std::find_if(items.rbegin(), items.rend(), [](QAction* a) { return a->isSeparator(); });
    ASSERT_NE(separator, items.rend());
    const qsizetype first = items.size() - (separator - items.rbegin());
    ASSERT_GE(items.size(), first + 3);
    EXPECT_EQ(items[first], Window().CommandAction(Ids::kCmdReadingCue));
    EXPECT_EQ(items[first + 1], Window().CommandAction(Ids::kCmdOperatorPreview));
    EXPECT_EQ(items[first + 2]->text(), QStringLiteral("&Remote Control ..."));

    CIni ini;
    ini.SetPathName(PathOf(QStringLiteral("vellor.ini")).toUtf8().constData());
    RemoteControl remote(ini, m_dialogs, {[] { return false; }, {}});
    Window().SetRemoteControlDialog([&] { remote.OpenDialog(&Window()); });
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    m_dialogs.dialogHandlers.push_back([port](QDialog& dialog) {
        auto& remoteDialog = static_cast<RemoteControlDlg&>(dialog);
        remoteDialog.PortBox().setValue(port);
        remoteDialog.EnabledBox().setChecked(true);
        return QDialog::Accepted;
    });
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdRemoteControl));
    EXPECT_TRUE(remote.Server().IsListening());
    EXPECT_EQ(remote.Server().Port(), port);
    EXPECT_EQ(ini.GetInt("Remote", "Enabled", 0, 10), 1);
    EXPECT_EQ(QString::fromStdString(ini.GetString("Remote", "Token", "")),
              remote.Settings().token);

    m_dialogs.dialogHandlers.push_back([](QDialog& dialog) {
        static_cast<RemoteControlDlg&>(dialog).EnabledBox().setChecked(false);
        return QDialog::Rejected;
    });
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdRemoteControl));
    EXPECT_TRUE(remote.Settings().enabled);
}

TEST_F(RemoteControlMenu, QueuesNoScrollWhileARunOrAnotherDialogIsOpen)
{
    Open();
    QDialog other;
    other.setModal(true);
    other.show();
    EXPECT_FALSE(Window().QueueScroll());
    other.hide();
    g_runState.running = true;
    EXPECT_FALSE(Window().QueueScroll());
    g_runState.running = false;
}
