#include "ControlCommands.h"

#include "ResourceIds.h"
#include "VellorDlg.h"

namespace {

using enum CommandMenu;
using D = CVellorDlg;
QKeyCombination Ctrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); }

// Save As is Ctrl+Shift+S, so that Shift+S stays a capital S.
const ControlCommand kCommands[] = {
    {.id = Ids::kCmdNew, .menu = File, .text = "&New", .shortcut = Ctrl(Qt::Key_N), .run = &D::OnFileNew},
    {.id = Ids::kCmdOpen, .menu = File, .text = "&Open ...", .shortcut = Ctrl(Qt::Key_O), .run = &D::OnFileOpen},
    {.id = Ids::kCmdSave, .menu = File, .separatorBefore = true, .text = "&Save", .shortcut = Ctrl(Qt::Key_S),
     .run = &D::OnFileSave, .update = &D::OnUpdateFileSave},
    {.id = Ids::kCmdSaveAs, .menu = File, .text = "Save &As ...",
     .shortcut = QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S), .run = &D::OnFileSaveAs},
    {.id = Ids::kCmdPrint, .menu = File, .separatorBefore = true, .text = "&Print ...",
     .shortcut = Ctrl(Qt::Key_P), .run = &D::OnFilePrint},
    {.id = Ids::kCmdExit, .menu = File, .separatorBefore = true, .text = "E&xit",
     .shortcut = QKeyCombination(Qt::Key_Escape), .cancelKey = true, .run = &D::OnFileExit},

    {.id = Ids::kCmdUndo, .menu = Edit, .text = "&Undo", .shortcut = Ctrl(Qt::Key_Z), .run = &D::OnEditUndo,
     .update = &D::OnUpdateEditUndo},
    {.id = Ids::kCmdRedo, .menu = Edit, .text = "&Redo", .shortcut = Ctrl(Qt::Key_Y), .run = &D::OnEditRedo,
     .update = &D::OnUpdateEditRedo},
    {.id = Ids::kCmdCut, .menu = Edit, .separatorBefore = true, .text = "Cut", .shortcut = Ctrl(Qt::Key_X),
     .run = &D::OnEditCut, .update = &D::OnUpdateEditCut},
    {.id = Ids::kCmdCopy, .menu = Edit, .text = "Copy", .shortcut = Ctrl(Qt::Key_C), .run = &D::OnEditCopy,
     .update = &D::OnUpdateEditCopy},
    {.id = Ids::kCmdPaste, .menu = Edit, .text = "Paste", .shortcut = Ctrl(Qt::Key_V), .run = &D::OnEditPaste,
     .update = &D::OnUpdateEditPaste},
    {.id = Ids::kCmdSelectAll, .menu = Edit, .separatorBefore = true, .text = "&Select All",
     .shortcut = Ctrl(Qt::Key_A), .run = &D::OnEditSelectAll, .update = &D::OnUpdateEditSelectAll},

    {.id = Ids::kCmdScroll, .menu = Bar, .text = "&Scroll", .run = &D::OnScroll},

    {.id = Ids::kCmdScrollSpeed, .menu = Preferences, .text = "&Scroll Speed", .run = &D::OnScrollSpeed},
    {.id = Ids::kCmdCpuPerformance, .menu = Preferences, .text = "&CPU Performance", .run = &D::OnCpuPerformance},
    {.id = Ids::kCmdBackgroundColor, .menu = Preferences, .separatorBefore = true, .text = "&Background Color ...",
     .run = &D::OnBackgroundColor},
    {.id = Ids::kCmdTextFont, .menu = Preferences, .separatorBefore = true, .text = "Text &Font Information ...",
     .run = &D::OnTextFont},
    {.id = Ids::kCmdMon1Fwd, .menu = Preferences, .separatorBefore = true, .text = "Mon #1 Fwd", .checkable = true,
     .run = &D::OnMon1Fwd, .update = &D::OnUpdateMon1Fwd},
    {.id = Ids::kCmdMon1Rev, .menu = Preferences, .text = "&Mon #1 Rev", .checkable = true, .run = &D::OnMon1Rev,
     .update = &D::OnUpdateMon1Rev},
    {.id = Ids::kCmdMon2Fwd, .menu = Preferences, .text = "&Mon #2 Fwd", .checkable = true, .run = &D::OnMon2Fwd,
     .update = &D::OnUpdateMon2Fwd},
    {.id = Ids::kCmdMon2Rev, .menu = Preferences, .text = "&Mon #2 Rev", .checkable = true, .run = &D::OnMon2Rev,
     .update = &D::OnUpdateMon2Rev},
    {.id = Ids::kCmdMouse, .menu = Preferences, .separatorBefore = true, .text = "&Mouse", .checkable = true,
     .run = &D::OnMouse, .update = &D::OnUpdateMouse},
    {.id = Ids::kCmdMouseWheel, .menu = Preferences, .text = "Mouse &Wheel", .checkable = true,
     .run = &D::OnMouseWheel, .update = &D::OnUpdateMouseWheel},
    {.id = Ids::kCmdReadingCue, .menu = Preferences, .separatorBefore = true, .text = "Reading &Cue",
     .checkable = true, .run = &D::OnReadingCue, .update = &D::OnUpdateReadingCue},
    {.id = Ids::kCmdOperatorPreview, .menu = Preferences, .text = "Operator's &Preview", .checkable = true,
     .run = &D::OnOperatorPreview, .update = &D::OnUpdateOperatorPreview},
    {.id = Ids::kCmdRemoteControl, .menu = Preferences, .text = "&Remote Control ...", .run = &D::OnRemoteControl},

    {.id = Ids::kCmdHelpContents, .menu = Help, .text = "&Contents", .shortcut = QKeyCombination(Qt::Key_F1),
     .run = &D::OnHelpContents},
    {.id = Ids::kCmdAbout, .menu = Help, .separatorBefore = true, .text = "&About Vellor Teleprompter Software ...",
     .run = &D::OnAbout},
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
