#include "HelpWindow.h"

#include <QFileInfo>
#include <QScrollBar>

namespace
{

HelpWindow* HelpWindowOf(QWidget* owner)
{
    return owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

QString HelpFilePath(const QString& executablePath)
{
    const qsizetype nameStart =
        std::max(executablePath.lastIndexOf(u'/'), executablePath.lastIndexOf(u'\\')) + 1;
    // Only a full stop inside the file name starts an extension, so a dotted
    // folder name is never cut, and a name that begins with its only full
    // stop is a name, not an extension.
    const qsizetype dot = executablePath.lastIndexOf(u'.');
    const bool hasExtension = dot > nameStart;
    return (hasExtension ? executablePath.left(dot) : executablePath) + QStringLiteral(".html");
}

QUrl HelpSource(const QString& executablePath)
{
    const QString path = HelpFilePath(executablePath);
    return QFileInfo(path).isFile() ? QUrl::fromLocalFile(path) : BuiltInHelpUrl();
}

HelpWindow::HelpWindow(QWidget* owner) : QTextBrowser(owner)
{
    // A window of its own, yet a child of its owner: it stays usable while
    // the owner runs modally, and it goes when the owner goes.
    setWindowFlags(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Vellor Teleprompter Help"));
    setOpenExternalLinks(true);
    resize(680, 620);
}

HelpWindow* ShowHelpContents(QWidget* owner, const QString& executablePath)
{
    HelpWindow* window = HelpWindowOf(owner);
    if (!window)
        window = new HelpWindow(owner);
    window->setSource(HelpSource(executablePath));
    window->verticalScrollBar()->setValue(0);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void QuitHelp(QWidget* owner)
{
    delete HelpWindowOf(owner);
}
