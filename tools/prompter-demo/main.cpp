// Runs a real scroll run of a sample script with scripted input and saves
// what the screen showed at a few moments as PNG files, so that the
// prompter can be seen without a display: resume, scroll, speed up,
// reverse, stop. With --glass, the run shows what the glass can add (a
// margin, the reading cue, a countdown, the clock and a message), and with
// --mirror it is mirror-reversed; --monitor2 runs it on the last screen.
// Usage: prompter-demo <output folder> [--glass] [--mirror] [--monitor2]
#include "PresenterMessage.h"
#include "PrompterWindow.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "TextRaster.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace
{
const char* const kScript[] = {
    "Good evening, and welcome.",
    "This is Vellor, a teleprompter.",
    "The script rises one pixel row",
    "at a time, paced by the clock",
    "of the processor itself.",
    "",
    "Space pauses and resumes.",
    "F goes faster, S slower.",
    "D turns back, U turns forward.",
    "Esc ends the run.",
    "",
    "Thank you for watching.",
};

void SendKey(Qt::Key key)
{
    if (QWidget* window = g_runState.prompterWindow) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window, &press);
    }
}

void SaveFrame(const QString& folder, int number, const QString& what)
{
    QWidget* window = g_runState.prompterWindow;
    if (!window)
        return;
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    const QString name =
        QStringLiteral("%1/frame-%2-%3.png").arg(folder).arg(number, 2, 10, QChar('0')).arg(what);
    shown.save(name);
    qInfo("%s", qPrintable(name));
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    const bool glass = arguments.contains(QStringLiteral("--glass"));
    g_runParams.mirror = arguments.contains(QStringLiteral("--mirror"));
    const QStringList folders = arguments.filter(QRegularExpression(QStringLiteral("^[^-]")));
    const QString folder = folders.isEmpty() ? QStringLiteral("demo-frames") : folders.front();
    QDir().mkpath(folder);

    for (const char* line : kScript)
        g_runParams.scriptText += std::string(line) + "\r\n";
    g_runParams.lineCount = static_cast<int>(std::size(kScript));
    g_runParams.textColor = 0x00FFFFFF;
    g_runParams.backColor = 0x00000000;
    g_runParams.speedValue = 8000;
    g_runParams.controlMode = SpeedControlMode::MouseWheel;
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 32, 400);

    // What the operator does, and when (milliseconds after the start).
    struct Cue {
        int at;
        std::function<void()> act;
    };
    int frame = 0;
    auto save = [&](const char* what) { return [&, what] { SaveFrame(folder, ++frame, what); }; };
    const std::vector<Cue> glassCues = {
        {300, save("start-paused")},
        {350, [] { SendKey(Qt::Key_Space); }},
        {900, save("countdown")},
        {4500, save("scrolling")},
        {4600, [] { SendKey(Qt::Key_Escape); }},
    };
    if (glass) {
        g_runParams.readingCue = ReadingCue{true, 33};
        g_runParams.glass = GlassLayout{10, 3, true};
        ShowPresenterMessage(QStringLiteral("WRAP IN 30"), 0, std::chrono::steady_clock::now());
    }
    const std::vector<Cue> plainCues = {
        {300, save("start-paused")},
        {350, [] { SendKey(Qt::Key_Space); }},
        {1500, save("scrolling")},
        {1550,
         [] {
             SendKey(Qt::Key_F);
             SendKey(Qt::Key_F);
             SendKey(Qt::Key_F);
         }},
        {3000, save("faster")},
        {3050, [] { SendKey(Qt::Key_D); }},
        {3800, save("reversed")},
        {3850, [] { SendKey(Qt::Key_Space); }},
        {4000, save("paused")},
        {4100, [] { SendKey(Qt::Key_Escape); }},
    };
    const std::vector<Cue>& cues = glass ? glassCues : plainCues;
    for (const Cue& cue : cues)
        QTimer::singleShot(cue.at, Qt::PreciseTimer, cue.act);

    StartScrollRun(arguments.contains(QStringLiteral("--monitor2")));
    return frame == (glass ? 3 : 5) ? 0 : 1;
}
