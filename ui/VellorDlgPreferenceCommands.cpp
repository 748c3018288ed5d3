#include "VellorDlg.h"

#include "DisplayDevice.h"
#include "GlassDialog.h"
#include "MySliderControl.h"
#include "OutputsDialog.h"
#include "ResourceIds.h"
#include "ScriptEditor.h"
#include "ScrollSpeedDlg.h"
#include "TextFontDialog.h"
#include "XButton.h"

#include <QAction>

#include <array>
#include <optional>

// Preferences: display format, speed-control mode, colours, font, scroll speed.
//
// The four display-format boxes are check boxes, not radio buttons: every
// click or menu choice checks its own box and unchecks the other three. A box
// has already inverted itself when its click arrives, so a click on the box
// that was checked checks it again.

namespace
{

// One display format: its check box, its monitor and its reading direction.
struct DisplayFormat {
    int box;
    bool monitor2;
    bool reverse;
};

constexpr std::array<DisplayFormat, 4> kDisplayFormats{{
    {Ids::kMon1FwdCheck, false, false},
    {Ids::kMon1RevCheck, false, true},
    {Ids::kMon2FwdCheck, true, false},
    {Ids::kMon2RevCheck, true, true},
}};

// Selects the format of check box `box`. Only the chosen monitor's reversal
// flag changes; the other monitor's flag keeps its menu check mark.
void SelectDisplayFormat(CVellorDlg& window, int box)
{
    for (const DisplayFormat& format : kDisplayFormats) {
        if (format.box != box)
            continue;
        window.m_bMonitor2 = format.monitor2;
        if (format.monitor2)
            window.m_bMon2Reverse = format.reverse;
        else
            window.m_settings.m_bRightReading = !format.reverse;
    }
    for (const DisplayFormat& format : kDisplayFormats)
        window.Button(format.box)->SetChecked(format.box == box, true);
}

// The two boxes of a pair show opposite states: the partner of a clicked box
// becomes checked exactly when the clicked box is now unchecked.
void FollowPartner(CVellorDlg& window, int clicked, int partner)
{
    window.Button(partner)->SetChecked(!window.Button(clicked)->IsChecked(), true);
}

// Sets the speed-control mode from the menu: the flag and both boxes.
void SelectMouseMode(CVellorDlg& window, bool useMouse)
{
    window.m_settings.m_bUseMouse = useMouse;
    window.Button(Ids::kMouseCheck)->SetChecked(useMouse, true);
    window.Button(Ids::kMouseWheelCheck)->SetChecked(!useMouse, true);
}

} // namespace

void CVellorDlg::OnMon1FwdClicked()
{
    SelectDisplayFormat(*this, Ids::kMon1FwdCheck);
}

void CVellorDlg::OnMon1RevClicked()
{
    SelectDisplayFormat(*this, Ids::kMon1RevCheck);
}

void CVellorDlg::OnMon2FwdClicked()
{
    SelectDisplayFormat(*this, Ids::kMon2FwdCheck);
}

void CVellorDlg::OnMon2RevClicked()
{
    SelectDisplayFormat(*this, Ids::kMon2RevCheck);
}

void CVellorDlg::OnMouseClicked()
{
    FollowPartner(*this, Ids::kMouseCheck, Ids::kMouseWheelCheck);
}

void CVellorDlg::OnMouseWheelClicked()
{
    FollowPartner(*this, Ids::kMouseWheelCheck, Ids::kMouseCheck);
}

// The secondary-display pair is never shown and nothing reads it; it only
// keeps its two boxes opposite.
void CVellorDlg::OnEnableSecondaryClicked()
{
    FollowPartner(*this, Ids::kEnableSecondaryCheck, Ids::kDisableSecondaryCheck);
}

void CVellorDlg::OnDisableSecondaryClicked()
{
    FollowPartner(*this, Ids::kDisableSecondaryCheck, Ids::kEnableSecondaryCheck);
}

void CVellorDlg::OnMon1Fwd()
{
    SelectDisplayFormat(*this, Ids::kMon1FwdCheck);
}

void CVellorDlg::OnMon1Rev()
{
    SelectDisplayFormat(*this, Ids::kMon1RevCheck);
}

void CVellorDlg::OnMon2Fwd()
{
    SelectDisplayFormat(*this, Ids::kMon2FwdCheck);
}

void CVellorDlg::OnMon2Rev()
{
    SelectDisplayFormat(*this, Ids::kMon2RevCheck);
}

void CVellorDlg::OnMouse()
{
    SelectMouseMode(*this, true);
}

void CVellorDlg::OnMouseWheel()
{
    SelectMouseMode(*this, false);
}

void CVellorDlg::OnBackgroundColor()
{
    const std::optional<ColorRef> color = m_dialogs.ChooseColor(this, m_settings.m_crBack);
    if (!color)
        return;
    m_settings.m_crBack = *color;
    Editor().SetBackgroundColor(m_settings.m_crBack);
}

void CVellorDlg::OnTextFont()
{
    const std::optional<FontChoice> choice = ChooseTextFont(
        m_dialogs, this,
        FontChoice{m_settings.m_strFontName, m_settings.m_nFontSize, 0, m_settings.m_crText});
    if (!choice)
        return;
    m_settings.m_strFontName = choice->face;
    m_settings.m_nFontSize = choice->sizeTenths;
    m_settings.m_crText = choice->color;
    // The weight reaches the editor only; the settings keep no weight.
    ApplyEditorFont(choice->weight);
}

void CVellorDlg::OnScrollSpeed()
{
    // The dialog works on the slider's position, not on the speed value.
    CScrollSpeedDlg dialog(m_dialogs, this);
    dialog.m_nSpeed = SpeedSlider().value();
    m_dialogs.ExecDialog(dialog);
    // After Cancel m_nSpeed still holds the position it was given, so the
    // slider stays where it was.
    SpeedSlider().setValue(dialog.m_nSpeed);
}

// The CPU performance value passes through the window unchanged; the command
// has no effect.
void CVellorDlg::OnCpuPerformance() {}

// Taken up by the next scroll run; kept at exit.
void CVellorDlg::OnGlass()
{
    GlassDialog dialog(m_settings.glass, this);
    if (m_dialogs.ExecDialog(dialog) == QDialog::Accepted)
        m_settings.glass = dialog.Chosen();
}

// Taken up by the next scroll run; kept at exit.
void CVellorDlg::OnOutputs()
{
    OutputsDialog dialog(m_settings.outputs, ChooseDisplayScreen(m_bMonitor2), this);
    if (m_dialogs.ExecDialog(dialog) == QDialog::Accepted)
        m_settings.outputs = dialog.Chosen();
}

void CVellorDlg::OnRemoteControl()
{
    if (m_openRemoteControl)
        m_openRemoteControl();
}

void CVellorDlg::SetRemoteControlDialog(std::function<void()> open)
{
    m_openRemoteControl = std::move(open);
}

// The menu's check marks show the reversal flags and the mouse flag, not the
// check boxes: one of the two monitor-1 items and one of the two monitor-2
// items is always checked, whichever monitor is chosen, and the mouse items
// show the mode last chosen from the menu or the settings, not a click on a box.

void CVellorDlg::OnUpdateMon1Fwd(QAction& item)
{
    item.setChecked(m_settings.m_bRightReading);
}

void CVellorDlg::OnUpdateMon1Rev(QAction& item)
{
    item.setChecked(!m_settings.m_bRightReading);
}

void CVellorDlg::OnUpdateMon2Fwd(QAction& item)
{
    item.setChecked(!m_bMon2Reverse);
}

void CVellorDlg::OnUpdateMon2Rev(QAction& item)
{
    item.setChecked(m_bMon2Reverse);
}

void CVellorDlg::OnUpdateMouse(QAction& item)
{
    item.setChecked(m_settings.m_bUseMouse);
}

void CVellorDlg::OnUpdateMouseWheel(QAction& item)
{
    item.setChecked(!m_settings.m_bUseMouse);
}

// The reading cue shows in the next scroll run; it is kept at exit.
void CVellorDlg::OnReadingCue()
{
    m_settings.readingCue.shown = !m_settings.readingCue.shown;
}

void CVellorDlg::OnUpdateReadingCue(QAction& item)
{
    item.setChecked(m_settings.readingCue.shown);
}

// Taken up by the next scroll run on another screen; it is kept at exit.
void CVellorDlg::OnOperatorPreview()
{
    m_settings.showPreview = !m_settings.showPreview;
}

void CVellorDlg::OnUpdateOperatorPreview(QAction& item)
{
    item.setChecked(m_settings.showPreview);
}
