#include "VellorDlg.h"

// Script files: New, Open, Save, Save As, Print and the closing path.

void CVellorDlg::OnFileNew() {}

void CVellorDlg::OnFileOpen() {}

void CVellorDlg::OnFileSave() {}

void CVellorDlg::OnFileSaveAs() {}

void CVellorDlg::OnFilePrint() {}

void CVellorDlg::OnFileExit() { OnCancel(); }

void CVellorDlg::OnCancel() { done(QDialog::Rejected); }

MessageAnswer CVellorDlg::AskToSaveChanges() { return MessageAnswer::No; }

void CVellorDlg::OnUpdateFileSave(QAction&) {}
