#pragma once

#include <QKeyCombination>

// Accelerator table 136: the keys that act as commands anywhere in the control
// window. Save As is Ctrl+Shift+S, so that Shift+S stays a capital S.

/// The command of the key with exactly these modifiers, or 0 when the key is no shortcut.
int AcceleratorCommand(QKeyCombination key);
