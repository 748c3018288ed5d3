#pragma once

#include <QString>

#include <functional>

// What the control window lends the remote control.
struct RemoteHost {
    /// SCROLL as the button does it, queued so that it runs once the caller
    /// has returned; false, and nothing queued, while a run or a dialog is open.
    std::function<bool()> startRun;
    /// The file name of the script, empty when it has none.
    std::function<QString()> scriptName;
};
