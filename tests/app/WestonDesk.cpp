#include "WestonDesk.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace
{
const QString kOuterSocket = QStringLiteral("vellor-headless");
const QString kInnerSocket = QStringLiteral("vellor-desk");
constexpr int kStartMilliseconds = 10000;
} // namespace

WestonDesk::WestonDesk()
{
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()) {
        m_problem = QStringLiteral("weston is not installed");
        return;
    }
    if (!Start(m_outer, kOuterSocket, {QStringLiteral("--backend=headless-backend.so")},
               ClientEnvironment()))
        return;
    QProcessEnvironment nested = ClientEnvironment();
    nested.insert(QStringLiteral("WAYLAND_DISPLAY"), kOuterSocket);
    Start(m_inner, kInnerSocket,
          {QStringLiteral("--backend=wayland-backend.so"), QStringLiteral("--output-count=2"),
           QStringLiteral("--use-pixman"), QStringLiteral("--width=1024"),
           QStringLiteral("--height=768"), QStringLiteral("--debug")},
          nested);
}

WestonDesk::~WestonDesk()
{
    for (QProcess* weston : {&m_inner, &m_outer}) {
        weston->terminate();
        if (!weston->waitForFinished(3000))
            weston->kill();
        weston->waitForFinished();
    }
}

bool WestonDesk::Start(QProcess& weston, const QString& socket, const QStringList& arguments,
                       const QProcessEnvironment& environment)
{
    weston.setProcessEnvironment(environment);
    // A test that crashes or is stopped takes its compositors with it.
    weston.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    weston.setProcessChannelMode(QProcess::MergedChannels);
    weston.start(QStringLiteral("weston"),
                 arguments + QStringList{QStringLiteral("--socket=") + socket,
                                         QStringLiteral("--idle-time=0")});
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(m_runtime.filePath(socket))) {
        if (weston.state() == QProcess::NotRunning || clock.elapsed() > kStartMilliseconds) {
            weston.kill();
            weston.waitForFinished();
            m_problem = QStringLiteral("weston did not start: ") +
                        QString::fromLocal8Bit(weston.readAll()).trimmed().section(u'\n', -1);
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

QProcessEnvironment WestonDesk::ClientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kInnerSocket);
    // Nothing may reach an X server by mistake.
    environment.remove(QStringLiteral("DISPLAY"));
    return environment;
}
