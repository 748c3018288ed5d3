#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Opening a link the way the system shell would, with the operator's
// $BROWSER as the fallback. Results use the shell's numbering: a value above
// 32 means the target was opened, anything else is one of the error codes
// the link reports to the operator.

/// The target was handed to a program that will open it.
constexpr int kShellOpened = 33;
/// A program could not be started for a reason other than those below.
constexpr int kShellOutOfResources = 0;
/// The target names a missing local file, or the browser program does not exist.
constexpr int kShellFileNotFound = 2;
/// The folder of the browser program does not exist.
constexpr int kShellPathNotFound = 3;
/// The browser program exists but may not be run.
constexpr int kShellAccessDenied = 5;
/// Nothing on the desktop handles this kind of target.
constexpr int kShellNoAssociation = 31;

/// True when a result of ShellOpen means the target was opened.
constexpr bool ShellOpenSucceeded(int result)
{
    return result > 32;
}

/// The part of a browser command line before its target placeholder: cut at
/// the first quoted "%1", else at the first bare %1, else the whole line.
QString CutAtPlaceholder(const QString& commandLine);

// The services ShellOpen uses, replaceable so that tests launch nothing.
struct ShellServices {
    /// Hands a URL to the desktop; true when a handler took it.
    std::function<bool(const QUrl&)> openUrl;
    /// Starts a program detached, without a shell; true when it started.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
    /// The fallback browser command line (the value of $BROWSER).
    std::function<QString()> browserCommand;
};

/// The desktop's own services.
ShellServices SystemShellServices();

/// Opens `target` through the desktop; when that fails, through the browser
/// command with the target appended as one argument. Returns the result code.
int ShellOpen(const QString& target, const ShellServices& services);
