#include "VellorDlg.h"

#include "AboutDlg.h"
#include "HelpWindow.h"

// Help: the operator's guide and the about box.

void CVellorDlg::OnHelpContents()
{
    ShowHelpContents(this);
}

void CVellorDlg::OnAbout()
{
    ShowAboutBox(m_dialogs, this);
}
