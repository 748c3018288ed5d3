#pragma once

#include <QKeyCombination>

#include <optional>
#include <span>

class CVellorDlg;
class QAction;

// The control window's commands, one row each. A row is the one statement
// of a command: the window makes its menu item, the shortcut the item
// carries and shows, and the rule that sets its state from it. Adding a
// command is a row and its handler.

/// Where a command's item sits; Window: nowhere, the command is a key of the window alone.
enum class CommandMenu { File, Edit, Bar, Preferences, Help, Window };

/// One command of the control window.
struct ControlCommand {
    int id;                       ///< the command's number (Ids::kCmd...)
    CommandMenu menu;             ///< the menu that holds its item; Bar: an item of the bar itself
    bool separatorBefore = false; ///< a separator comes before the item
    const char* text;             ///< the item's text, with its mnemonic
    std::optional<QKeyCombination> shortcut =
        std::nullopt; ///< the key with exactly these modifiers, if any
    /// True for Esc, which reaches Exit as the dialog's own cancel key: the
    /// item shows it, and the dialog, not the item, acts on it.
    bool cancelKey = false;
    bool checkable = false;    ///< the item has a check mark
    void (CVellorDlg::*run)(); ///< carries the command out
    void (CVellorDlg::*update)(QAction&) =
        nullptr; ///< sets the item's state first; null: it keeps its state
};

/// Every command of the control window, in the order of the menus.
std::span<const ControlCommand> ControlCommands();

/// The row of command `id`, or null.
const ControlCommand* FindControlCommand(int id);
