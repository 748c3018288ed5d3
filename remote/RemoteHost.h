#pragma once

#include <QString>

#include <functional>
#include <optional>

// What the control window lends the remote control.
struct RemoteHost {
    /// SCROLL as the button does it, queued so that it runs once the caller
    /// has returned; false, and nothing queued, while a run or a dialog is open.
    std::function<bool()> startRun;
    /// The file name of the script, empty when it has none.
    std::function<QString()> scriptName;
    /// Replaces the script text as one edit that undo takes back; the
    /// refusal when it cannot now. None: scripts are not taken.
    std::function<std::optional<QString>(const QString&)> replaceScript = {};
};
