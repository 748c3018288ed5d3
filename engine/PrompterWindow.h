#pragma once

#include "PrompterCommands.h"

#include <QWidget>

#include <memory>

class QEvent;

// The window of a scroll run. It covers the prompter's screen, draws
// nothing of its own (the display's scan-out shows the image) and turns the
// operator's keys, buttons, mouse movement and wheel into changes of the
// run state through PrompterWndProc.
class CPrompterWindow : public QWidget
{
  public:
    // A frameless top-level window at (0, 0), 640 x 480, in the run's
    // background colour, with a blank cursor.
    CPrompterWindow();
    // Leaves the run state without a window.
    ~CPrompterWindow() override;

  protected:
    // Offers every event to PrompterWndProc first.
    bool event(QEvent* event) override;
};

// Creates and shows the prompter window, records it in the run state and
// hides the cursor over it; the cursor stays hidden exactly as long as the
// window lives. The caller owns the window.
std::unique_ptr<CPrompterWindow> CreatePrompterWindow();

// Applies one event of the prompter window to the run state: Esc or losing
// activation stops the run; Space, B, the full stop or the left button
// pauses and resumes; while moving, D and U (by direction) and the right
// button ask for a change of direction, F and S (and the Down and Up
// arrows), the mouse's height and the wheel change the speed by 500; Page
// Down, Page Up and Home jump to the next or previous paragraph or the
// start. True when the event was one of these and is consumed.
bool PrompterWndProc(QEvent* event);
