#include "VellorDlg.h"

// Preferences: display format, speed-control mode, colours, font, scroll speed.

void CVellorDlg::OnMon1FwdClicked() {}

void CVellorDlg::OnMon1RevClicked() {}

void CVellorDlg::OnMon2FwdClicked() {}

void CVellorDlg::OnMon2RevClicked() {}

void CVellorDlg::OnMouseClicked() {}

void CVellorDlg::OnMouseWheelClicked() {}

void CVellorDlg::OnEnableSecondaryClicked() {}

void CVellorDlg::OnDisableSecondaryClicked() {}

void CVellorDlg::OnMon1Fwd() {}

void CVellorDlg::OnMon1Rev() {}

void CVellorDlg::OnMon2Fwd() {}

void CVellorDlg::OnMon2Rev() {}

void CVellorDlg::OnMouse() {}

void CVellorDlg::OnMouseWheel() {}

void CVellorDlg::OnBackgroundColor() {}

void CVellorDlg::OnTextFont() {}

void CVellorDlg::OnScrollSpeed() {}

void CVellorDlg::OnCpuPerformance() {}

void CVellorDlg::OnUpdateMon1Fwd(QAction&) {}

void CVellorDlg::OnUpdateMon1Rev(QAction&) {}

void CVellorDlg::OnUpdateMon2Fwd(QAction&) {}

void CVellorDlg::OnUpdateMon2Rev(QAction&) {}

void CVellorDlg::OnUpdateMouse(QAction&) {}

void CVellorDlg::OnUpdateMouseWheel(QAction&) {}
