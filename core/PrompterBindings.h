#pragma once

#include "PrompterCommands.h"
#include "ScrollRunState.h"

#include <optional>
#include <span>

// What the operator does at the prompter window.
enum class PrompterInput {
    Key,          // a key pressed, by its code: Shift makes no difference, auto-repeat repeats
    Button,       // a mouse button pressed
    WheelAway,    // one wheel event away from the operator, however many notches it holds
    WheelTowards, // one wheel event towards the operator
    MouseUp,      // the mouse moved up or level
    MouseDown,    // the mouse moved down; its height is unsigned, so above the window is down
};

// One row of the prompter window's bindings: an input, the command it
// gives, and whether it acts while the run is paused.
struct PrompterBinding {
    PrompterInput input;
    int code; // the Qt::Key or Qt::MouseButton; 0 for the wheel and movement
    std::optional<SpeedControlMode> mode; // the speed control the row belongs to; none: either
    PrompterCommand command;
    int amount;       // what ChangeSpeed adds to the speed value, the digit TypeDigit types
    bool whilePaused; // acts while paused as well as while moving
};

// Every binding of the prompter window; an input without a row does nothing.
std::span<const PrompterBinding> PrompterBindings();

// The row of an input in a speed control mode, or null.
const PrompterBinding* FindPrompterBinding(PrompterInput input, int code, SpeedControlMode mode);

// Gives the row's command, unless the run is paused and the row acts only
// while moving.
void RunPrompterBinding(const PrompterBinding& binding);
