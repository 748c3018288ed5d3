#include "VellorDlg.h"

// Editing commands and their enabling rules.

void CVellorDlg::OnEditUndo() {}

void CVellorDlg::OnEditRedo() {}

void CVellorDlg::OnEditCut() {}

void CVellorDlg::OnEditCopy() {}

void CVellorDlg::OnEditPaste() {}

void CVellorDlg::OnEditSelectAll() {}

void CVellorDlg::OnUpdateEditUndo(QAction&) {}

void CVellorDlg::OnUpdateEditRedo(QAction&) {}

void CVellorDlg::OnUpdateEditCut(QAction&) {}

void CVellorDlg::OnUpdateEditCopy(QAction&) {}

void CVellorDlg::OnUpdateEditPaste(QAction&) {}

void CVellorDlg::OnUpdateEditSelectAll(QAction&) {}
