#include "AcceleratorTable.h"

#include "ResourceIds.h"

#include <QKeySequence>

#include <array>

namespace {

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;

// In the order of the menu.
const std::array<Shortcut, 13> kTable{{
    {Ids::kCmdNew, QKeyCombination(kCtrl, Qt::Key_N), true},
    {Ids::kCmdOpen, QKeyCombination(kCtrl, Qt::Key_O), true},
    {Ids::kCmdSave, QKeyCombination(kCtrl, Qt::Key_S), true},
    {Ids::kCmdSaveAs, QKeyCombination(kCtrl | Qt::ShiftModifier, Qt::Key_S), true},
    {Ids::kCmdPrint, QKeyCombination(kCtrl, Qt::Key_P), true},
    {Ids::kCmdExit, QKeyCombination(Qt::NoModifier, Qt::Key_Escape), false},
    {Ids::kCmdUndo, QKeyCombination(kCtrl, Qt::Key_Z), true},
    {Ids::kCmdRedo, QKeyCombination(kCtrl, Qt::Key_Y), true},
    {Ids::kCmdCut, QKeyCombination(kCtrl, Qt::Key_X), true},
    {Ids::kCmdCopy, QKeyCombination(kCtrl, Qt::Key_C), true},
    {Ids::kCmdPaste, QKeyCombination(kCtrl, Qt::Key_V), true},
    {Ids::kCmdSelectAll, QKeyCombination(kCtrl, Qt::Key_A), true},
    {Ids::kCmdHelpContents, QKeyCombination(Qt::NoModifier, Qt::Key_F1), true},
}};

} // namespace

std::span<const Shortcut> Shortcuts() { return kTable; }

int AcceleratorCommand(QKeyCombination key)
{
    // The keypad flag says where a key sits, not which key it is.
    const QKeyCombination plain(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
    for (const Shortcut& shortcut : kTable) {
        if (shortcut.accelerator && shortcut.key == plain)
            return shortcut.command;
    }
    return 0;
}

QString ShortcutText(int command)
{
    for (const Shortcut& shortcut : kTable) {
        if (shortcut.command == command)
            return QKeySequence(shortcut.key).toString(QKeySequence::PortableText);
    }
    return {};
}
