#include "ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace
{

int OpenThroughDesktop(const QString& target, const ShellServices& services)
{
    const QUrl url = QUrl::fromUserInput(target);
    if (!url.isValid())
        return kShellFileNotFound;
    // The desktop launches a viewer for any file URL and reports success even
    // when the file is missing, so a missing file is caught here.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return kShellFileNotFound;
    return services.openUrl(url) ? kShellOpened : kShellNoAssociation;
}

// kShellOpened when `program` can be started, else the code that says why not.
int CheckProgram(const QString& program)
{
    const bool isPath = program.contains(u'/') || program.contains(QDir::separator());
    if (!isPath)
        return QStandardPaths::findExecutable(program).isEmpty() ? kShellFileNotFound
                                                                 : kShellOpened;
    const QFileInfo info(program);
    if (!info.absoluteDir().exists())
        return kShellPathNotFound;
    if (!info.exists())
        return kShellFileNotFound;
    if (info.isDir() || !info.isExecutable())
        return kShellAccessDenied;
    return kShellOpened;
}

} // namespace

QString CutAtPlaceholder(const QString& commandLine)
{
    qsizetype cut = commandLine.indexOf(QStringLiteral("\"%1\""));
    if (cut < 0)
        cut = commandLine.indexOf(QStringLiteral("%1"));
    return cut < 0 ? commandLine : commandLine.left(cut);
}

ShellServices SystemShellServices()
{
    return {
        [](const QUrl& url) { return QDesktopServices::openUrl(url); },
        [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        },
        [] { return qEnvironmentVariable("BROWSER"); },
    };
}

int ShellOpen(const QString& target, const ShellServices& services)
{
    const int shellResult = OpenThroughDesktop(target, services);
    if (ShellOpenSucceeded(shellResult))
        return shellResult;

    // No usable fallback command: the desktop's own failure is the answer.
    QStringList command = QProcess::splitCommand(CutAtPlaceholder(services.browserCommand()));
    if (command.isEmpty())
        return shellResult;

    const QString program = command.takeFirst();
    const int check = CheckProgram(program);
    if (!ShellOpenSucceeded(check))
        return check;
    // The target travels as one argument, so blanks or quotes in it can
    // neither split it nor add arguments of their own.
    command.append(target);
    return services.startDetached(program, command) ? kShellOpened : kShellOutOfResources;
}
