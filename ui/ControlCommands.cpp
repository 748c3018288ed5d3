#include "ControlCommands.h"

#include "ResourceIds.h"
#include "VellorDlg.h"

namespace {

using enum CommandMenu;
using D = CVellorDlg;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr bool kSeparator = true;
constexpr bool kCheck = true;

QKeyCombination Ctrl(Qt::Key key) { return QKeyCombination(kCtrl, key); }

// Save As is Ctrl+Shift+S, so that Shift+S stays a capital S.
const ControlCommand kCommands[] = {
    {Ids::kCmdNew, File, false, "&New", Ctrl(Qt::Key_N), false, false, &D::OnFileNew, nullptr},
    {Ids::kCmdOpen, File, false, "&Open ...", Ctrl(Qt::Key_O), false, false, &D::OnFileOpen, nullptr},
    {Ids::kCmdSave, File, kSeparator, "&Save", Ctrl(Qt::Key_S), false, false, &D::OnFileSave,
     &D::OnUpdateFileSave},
    {Ids::kCmdSaveAs, File, false, "Save &As ...", QKeyCombination(kCtrl | Qt::ShiftModifier, Qt::Key_S),
     false, false, &D::OnFileSaveAs, nullptr},
    {Ids::kCmdPrint, File, kSeparator, "&Print ...", Ctrl(Qt::Key_P), false, false, &D::OnFilePrint, nullptr},
    {Ids::kCmdExit, File, kSeparator, "E&xit", QKeyCombination(Qt::Key_Escape), true, false, &D::OnFileExit,
     nullptr},
    {Ids::kCmdUndo, Edit, false, "&Undo", Ctrl(Qt::Key_Z), false, false, &D::OnEditUndo, &D::OnUpdateEditUndo},
    {Ids::kCmdRedo, Edit, false, "&Redo", Ctrl(Qt::Key_Y), false, false, &D::OnEditRedo, &D::OnUpdateEditRedo},
    {Ids::kCmdCut, Edit, kSeparator, "Cut", Ctrl(Qt::Key_X), false, false, &D::OnEditCut, &D::OnUpdateEditCut},
    {Ids::kCmdCopy, Edit, false, "Copy", Ctrl(Qt::Key_C), false, false, &D::OnEditCopy, &D::OnUpdateEditCopy},
    {Ids::kCmdPaste, Edit, false, "Paste", Ctrl(Qt::Key_V), false, false, &D::OnEditPaste,
     &D::OnUpdateEditPaste},
    {Ids::kCmdSelectAll, Edit, kSeparator, "&Select All", Ctrl(Qt::Key_A), false, false, &D::OnEditSelectAll,
     &D::OnUpdateEditSelectAll},
    {Ids::kCmdScroll, Bar, false, "&Scroll", {}, false, false, &D::OnScroll, nullptr},
    {Ids::kCmdScrollSpeed, Preferences, false, "&Scroll Speed", {}, false, false, &D::OnScrollSpeed, nullptr},
    {Ids::kCmdCpuPerformance, Preferences, false, "&CPU Performance", {}, false, false, &D::OnCpuPerformance,
     nullptr},
    {Ids::kCmdBackgroundColor, Preferences, kSeparator, "&Background Color ...", {}, false, false,
     &D::OnBackgroundColor, nullptr},
    {Ids::kCmdTextFont, Preferences, kSeparator, "Text &Font Information ...", {}, false, false, &D::OnTextFont,
     nullptr},
    {Ids::kCmdMon1Fwd, Preferences, kSeparator, "Mon #1 Fwd", {}, false, kCheck, &D::OnMon1Fwd,
     &D::OnUpdateMon1Fwd},
    {Ids::kCmdMon1Rev, Preferences, false, "&Mon #1 Rev", {}, false, kCheck, &D::OnMon1Rev, &D::OnUpdateMon1Rev},
    {Ids::kCmdMon2Fwd, Preferences, false, "&Mon #2 Fwd", {}, false, kCheck, &D::OnMon2Fwd, &D::OnUpdateMon2Fwd},
    {Ids::kCmdMon2Rev, Preferences, false, "&Mon #2 Rev", {}, false, kCheck, &D::OnMon2Rev, &D::OnUpdateMon2Rev},
    {Ids::kCmdMouse, Preferences, kSeparator, "&Mouse", {}, false, kCheck, &D::OnMouse, &D::OnUpdateMouse},
    {Ids::kCmdMouseWheel, Preferences, false, "Mouse &Wheel", {}, false, kCheck, &D::OnMouseWheel,
     &D::OnUpdateMouseWheel},
    {Ids::kCmdReadingCue, Preferences, kSeparator, "Reading &Cue", {}, false, kCheck, &D::OnReadingCue,
     &D::OnUpdateReadingCue},
    {Ids::kCmdOperatorPreview, Preferences, false, "Operator's &Preview", {}, false, kCheck,
     &D::OnOperatorPreview, &D::OnUpdateOperatorPreview},
    {Ids::kCmdRemoteControl, Preferences, false, "&Remote Control ...", {}, false, false, &D::OnRemoteControl,
     nullptr},
    {Ids::kCmdHelpContents, Help, false, "&Contents", QKeyCombination(Qt::Key_F1), false, false,
     &D::OnHelpContents, nullptr},
    {Ids::kCmdAbout, Help, kSeparator, "&About Vellor Teleprompter Software ...", {}, false, false, &D::OnAbout,
     nullptr},
};

} // namespace

std::span<const ControlCommand> ControlCommands() { return kCommands; }

const ControlCommand* FindControlCommand(int id)
{
    for (const ControlCommand& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}
