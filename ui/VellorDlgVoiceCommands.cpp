#include "VellorDlg.h"

#include <QAction>

// Follow the Voice: runs keep pace with the speaker from their start.

void CVellorDlg::OnFollowVoice()
{
    m_settings.voice.enabled = !m_settings.voice.enabled;
}

void CVellorDlg::OnUpdateFollowVoice(QAction& item)
{
    item.setChecked(m_settings.voice.enabled);
}
