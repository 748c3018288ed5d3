#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTextBrowser>
#include <QUrl>

// The program's help: an operator's guide in HTML, shown in a window of its
// own that belongs to the window that asked for it. A guide beside the
// executable, named after it with ".html" ("vellor" or "vellor.exe" gives
// "vellor.html"), is shown in preference to the copy built into the program,
// so that a site can put its own guide in place.

/// The guide built into the program.
inline QUrl BuiltInHelpUrl()
{
    return QUrl(QStringLiteral("qrc:/help/vellor.html"));
}

/// The help file beside `executablePath`: its file name's extension (from the
/// last full stop) replaced by ".html", or ".html" appended when it has none.
QString HelpFilePath(const QString& executablePath);

/// The guide to show: the help file beside `executablePath` when it exists,
/// else the built-in one.
QUrl HelpSource(const QString& executablePath);

// The help window: a browser over the guide, a separate window that closes
// with its owner.
class HelpWindow : public QTextBrowser
{
    Q_OBJECT
  public:
    /// A help window belonging to `owner`.
    explicit HelpWindow(QWidget* owner);
};

/// Help > Contents and F1: shows the guide at its contents in `owner`'s help
/// window, opening one if it has none, and returns that window.
HelpWindow*
ShowHelpContents(QWidget* owner,
                 const QString& executablePath = QCoreApplication::applicationFilePath());

/// Closes `owner`'s help window, if it has one (the owner calls this as it closes).
void QuitHelp(QWidget* owner);
