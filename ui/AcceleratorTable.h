#pragma once

#include <QKeyCombination>
#include <QString>

#include <span>

// The control window's shortcut keys, one row a command. This table is the
// one place a shortcut is stated: the window turns these keys into commands,
// the menu shows them beside its items, and a test holds the operator's guide
// to them. Save As is Ctrl+Shift+S, so that Shift+S stays a capital S.

/// One shortcut of the control window.
struct Shortcut {
    int command;         ///< the command id it runs
    QKeyCombination key; ///< the key with exactly these modifiers
    /// True for a key of accelerator table 136; false for Esc, which reaches
    /// Exit as the dialog's own cancel key and is listed for the menu only.
    bool accelerator;
};

/// Every shortcut of the control window.
std::span<const Shortcut> Shortcuts();

/// The command of the key with exactly these modifiers, or 0 when the key is no shortcut.
int AcceleratorCommand(QKeyCombination key);

/// The shortcut of `command` as its menu item shows it ("Ctrl+Shift+S"), empty when it has none.
QString ShortcutText(int command);
