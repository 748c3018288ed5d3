#include "PrompterBindings.h"

#include <Qt>

namespace
{
using enum PrompterInput;
using enum PrompterCommand;
constexpr auto kMouse = SpeedControlMode::MousePosition;
constexpr auto kWheel = SpeedControlMode::MouseWheel;
constexpr std::nullopt_t kEither = std::nullopt;
constexpr bool kPaused = true;  // acts while paused too
constexpr bool kMoving = false; // acts only while moving

constexpr PrompterBinding kBindings[] = {
    {Key, Qt::Key_Escape, kEither, Stop, 0, kPaused},
    {Key, Qt::Key_Space, kEither, TogglePause, 0, kPaused},
    {Key, Qt::Key_D, kEither, ReverseFromForward, 0, kMoving},
    {Key, Qt::Key_U, kEither, ReverseFromBackward, 0, kMoving},
    {Key, Qt::Key_F, kEither, Faster, 0, kMoving},
    {Key, Qt::Key_S, kEither, Slower, 0, kMoving},
    // What presenter clickers and page-turner pedals send.
    {Key, Qt::Key_PageDown, kEither, NextParagraph, 0, kPaused},
    {Key, Qt::Key_PageUp, kEither, PreviousParagraph, 0, kPaused},
    {Key, Qt::Key_Home, kEither, JumpToStart, 0, kPaused},
    // Story numbers: digits, then Enter (the keypad's too), go to that paragraph.
    {Key, Qt::Key_0, kEither, TypeDigit, 0, kPaused},
    {Key, Qt::Key_1, kEither, TypeDigit, 1, kPaused},
    {Key, Qt::Key_2, kEither, TypeDigit, 2, kPaused},
    {Key, Qt::Key_3, kEither, TypeDigit, 3, kPaused},
    {Key, Qt::Key_4, kEither, TypeDigit, 4, kPaused},
    {Key, Qt::Key_5, kEither, TypeDigit, 5, kPaused},
    {Key, Qt::Key_6, kEither, TypeDigit, 6, kPaused},
    {Key, Qt::Key_7, kEither, TypeDigit, 7, kPaused},
    {Key, Qt::Key_8, kEither, TypeDigit, 8, kPaused},
    {Key, Qt::Key_9, kEither, TypeDigit, 9, kPaused},
    {Key, Qt::Key_Return, kEither, GoToTyped, 0, kPaused},
    {Key, Qt::Key_Enter, kEither, GoToTyped, 0, kPaused},
    {Key, Qt::Key_Down, kEither, Faster, 0, kMoving},
    {Key, Qt::Key_Up, kEither, Slower, 0, kMoving},
    {Key, Qt::Key_B, kEither, TogglePause, 0, kPaused},
    {Key, Qt::Key_Period, kEither, TogglePause, 0, kPaused},
    {Button, Qt::LeftButton, kEither, TogglePause, 0, kPaused},
    {Button, Qt::RightButton, kEither, Reverse, 0, kMoving},
    {WheelAway, 0, kWheel, ChangeSpeed, -kPrompterSpeedStep, kPaused},
    {WheelTowards, 0, kWheel, ChangeSpeed, kPrompterSpeedStep, kPaused},
    {MouseUp, 0, kMouse, ChangeSpeed, -kPrompterSpeedStep, kPaused},
    {MouseDown, 0, kMouse, ChangeSpeed, kPrompterSpeedStep, kPaused},
    // With the wheel in charge, movement changes the speed by nothing, which
    // still brings a speed set from outside back within its bounds.
    {MouseUp, 0, kWheel, ChangeSpeed, 0, kPaused},
    {MouseDown, 0, kWheel, ChangeSpeed, 0, kPaused},
};
} // namespace

std::span<const PrompterBinding> PrompterBindings()
{
    return kBindings;
}

const PrompterBinding* FindPrompterBinding(PrompterInput input, int code, SpeedControlMode mode)
{
    for (const PrompterBinding& binding : kBindings) {
        if (binding.input == input && binding.code == code && binding.mode.value_or(mode) == mode)
            return &binding;
    }
    return nullptr;
}

void RunPrompterBinding(const PrompterBinding& binding)
{
    if (g_runState.paused && !binding.whilePaused)
        return;
    RunPrompterCommand(binding.command, binding.amount);
}
