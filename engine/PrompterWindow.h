#pragma once

#include "PrompterCommands.h"

#include <QWidget>

#include <memory>

class QEvent;

// The window of a scroll run. It covers the prompter's screen, draws
// nothing of its own (the display's scan-out shows the image) and turns the
// operator's keys, buttons, mouse movement and wheel into prompter commands
// through PrompterWndProc.
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

// Applies one event of the prompter window to the run: losing activation
// stops it, and keys, buttons, movement and the wheel give the commands of
// PrompterBindings. True when the event is consumed: every key, button and
// movement, and the up-and-down wheel.
bool PrompterWndProc(QEvent* event);
