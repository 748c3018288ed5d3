#include "VellorDlg.h"

#include "PrompterCommands.h"
#include "RunScriptLink.h"
#include "ScriptEditor.h"
#include "ScrollRunState.h"

#include <QAction>
#include <QApplication>

// Edit While Prompting: the control window stays in use during a run, and
// the operator drives the run from its keyboard with keys that type nothing.

void CVellorDlg::OnLiveEdit()
{
    m_settings.liveEdit = !m_settings.liveEdit;
}

void CVellorDlg::OnUpdateLiveEdit(QAction& item)
{
    item.setChecked(m_settings.liveEdit);
}

void CVellorDlg::OnUpdateRunKey(QAction& item)
{
    item.setEnabled(m_liveRun && g_runState.running);
}

void CVellorDlg::OnRunPause()
{
    RunPrompterCommand(PrompterCommand::TogglePause);
}

void CVellorDlg::OnRunStop()
{
    RunPrompterCommand(PrompterCommand::Stop);
}

void CVellorDlg::OnRunSlower()
{
    RunPrompterCommand(PrompterCommand::Slower);
}

void CVellorDlg::OnRunFaster()
{
    RunPrompterCommand(PrompterCommand::Faster);
}

void CVellorDlg::OnRunReverse()
{
    RunPrompterCommand(PrompterCommand::Reverse);
}

void CVellorDlg::OnRunToCursor()
{
    if (m_liveRun)
        RunPrompterCommand(PrompterCommand::ShowLine, m_liveRun->CursorLine());
}

void CVellorDlg::OnRunPreviousParagraph()
{
    RunPrompterCommand(PrompterCommand::PreviousParagraph);
}

void CVellorDlg::OnRunNextParagraph()
{
    RunPrompterCommand(PrompterCommand::NextParagraph);
}

bool CVellorDlg::EndRunBefore(int id)
{
    if (!m_liveRun || !g_runState.running)
        return false;
    // The run's loop is below this call; the command waits until it has ended.
    m_afterRun = id;
    RunPrompterCommand(PrompterCommand::Stop);
    return true;
}

std::optional<QString> CVellorDlg::ReplaceScriptText(const QString& text)
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this)
        return QStringLiteral("A dialog is open in the control window.");
    if (g_runState.running && !m_liveRun)
        return QStringLiteral("The script cannot change during this run: Edit While Prompting is "
                              "off.");
    Editor().ReplaceText(text);
    return std::nullopt;
}
