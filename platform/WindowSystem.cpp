#include "WindowSystem.h"

#include <QtGlobal>

QByteArray PreferredPlatform(const QByteArray& requested, const QByteArray& waylandDisplay,
                             const QByteArray& sessionType)
{
    if (!requested.isEmpty())
        return QByteArray();
    if (!waylandDisplay.isEmpty() || sessionType == "wayland")
        return QByteArrayLiteral("wayland;xcb");
    return QByteArray();
}

void ChooseWindowSystem()
{
    const QByteArray platform = PreferredPlatform(
        qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}
