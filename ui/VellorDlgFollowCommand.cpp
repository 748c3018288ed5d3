#include "VellorDlg.h"

#include "DialogService.h"
#include "FollowDlg.h"
#include "FollowerRun.h"
#include "ModulePath.h"
#include "ResourceIds.h"
#include "ScrollRunState.h"
#include "XButton.h"

// Follow a Prompter: this prompter shows another's run, on its own screen
// and in its own direction, until Esc.

void CVellorDlg::OnFollow()
{
    if (g_runState.running)
        return;
    FollowDlg dialog(this);
    if (m_dialogs.ExecDialog(dialog) == QDialog::Accepted)
        Follow(dialog.Target());
}

void CVellorDlg::QueueFollow(const QString& address)
{
    QMetaObject::invokeMethod(
        this,
        [this, address] {
            const auto read = ReadFollowAddress(address);
            if (const auto* target = std::get_if<FollowTarget>(&read))
                Follow(*target);
            else
                m_dialogs.ShowMessage(this, std::get<QString>(read), ApplicationTitle(),
                                      MessageButtons::Ok, MessageIcon::Warning);
        },
        Qt::QueuedConnection);
}

void CVellorDlg::Follow(const FollowTarget& target)
{
    if (g_runState.running)
        return;
    const int forwardBox = m_bMonitor2 ? Ids::kMon2FwdCheck : Ids::kMon1FwdCheck;
    const FollowerOwn own{m_bMonitor2, !Button(forwardBox)->IsChecked(), m_settings.readingCue,
                          m_settings.glass, m_settings.showPreview ? screen() : nullptr};
    if (const std::optional<QString> problem = FollowerRun::Follow(target, own))
        m_dialogs.ShowMessage(this, *problem, ApplicationTitle(), MessageButtons::Ok,
                              MessageIcon::Warning);
}
