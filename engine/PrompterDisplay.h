#pragma once

#include <memory>

class DisplayDevice;
struct DisplayProbe;

// Takes the run's screen over for the prompter window: monitor 2 when the
// run asks for it (the last screen that is not the primary), else the
// primary; 640 x 480 at 8 bits; the primary and off-screen surfaces, and a
// mirror work surface for mirror-reversed runs; the line height measured.
// The surfaces are recorded in the run state. On any failure everything
// made so far is released again and the result is null; nothing is shown
// to the operator. The caller holds the display until ClosePrompterDisplay.
std::unique_ptr<DisplayDevice> OpenPrompterDisplay(DisplayProbe* probe = nullptr);

// Gives the display back: ends the mode, releases the primary surface and
// then the display object, which takes the off-screen surfaces with it.
void ClosePrompterDisplay(std::unique_ptr<DisplayDevice> display);
