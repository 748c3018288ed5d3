#pragma once

// The commands of a scroll run, whoever gives them: the prompter window's
// keys and mouse, a presenter's clicker or pedal, the remote control. Each
// command keeps the rule of the key that first had it, so every way of
// driving the prompter behaves alike.
enum class PrompterCommand {
    TogglePause,         // Space, left button: pause or resume
    Pause,               // pause; nothing while paused
    Resume,              // resume; nothing while moving
    Faster,              // F: 500 less delay, only while moving
    Slower,              // S: 500 more delay, only while moving
    ReverseFromForward,  // D: ask for a reversal, only while moving forward
    ReverseFromBackward, // U: ask for a reversal, only while moving backward
    Reverse,             // right button: ask for a reversal while moving, either way
    Stop,                // Esc: end the run
    NextParagraph,       // Page Down: the first line of the next paragraph where the talent reads
    PreviousParagraph,   // Page Up: the first line of the paragraph before (PreviousParagraph.h)
    JumpToStart,         // Home: the first line of the script where the talent reads
    SetSpeed,            // the remote control: the speed value becomes the amount
    ChangeSpeed,         // the mouse and the wheel: the speed value changes by the amount
    ShowLine,      // the control window: the line numbered by the amount where the talent reads
    TypeDigit,     // 0 to 9: the amount, a digit of a story number (StoryNumber.h)
    GoToTyped,     // Enter: the first line of the paragraph whose story number stands
    GoToParagraph, // the remote control: the first line of paragraph number amount, from 1
};

// Carries out one command on the run state. True when the command applied
// in the run's present state (a reversal asked for, a speed changed, the
// run stopped, the picture redrawn at a jump's line), false when its rule
// left the state as it was. A jump keeps pause, direction and a pending
// turn; one past the last paragraph or before the first does nothing, and
// so does Enter with no story number standing, or one that is no
// paragraph's (the number is forgotten all the same). SetSpeed, ChangeSpeed,
// ShowLine, TypeDigit and GoToParagraph read the amount; every speed given is held
// within 0..32000, paused or moving.
bool RunPrompterCommand(PrompterCommand command, int amount = 0);

// Holds the speed value within 0..32000 and recomputes the step interval
// from it; used after every change of the speed.
void ClampSpeed();

// The step by which faster, slower, the mouse and the wheel change the speed.
inline constexpr int kPrompterSpeedStep = 500;
