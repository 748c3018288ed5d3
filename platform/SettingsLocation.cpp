#include "SettingsLocation.h"

#include "ModulePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

const QString kProgramFolder = QStringLiteral("vellor");

} // namespace

QString InstalledDataFolder(const QString& executablePath)
{
    return QDir::cleanPath(QFileInfo(executablePath).absolutePath() + QStringLiteral("/../share/") +
                           kProgramFolder);
}

SettingsLocation SettingsLocationFor(const QString& executablePath, const QString& configHome,
                                     const QString& home)
{
    const QString dataFolder = InstalledDataFolder(executablePath);
    if (!QFileInfo(dataFolder).isDir())
        return {SiblingPathWithExtension(executablePath, QStringLiteral("ini")),
                SiblingPathWithExtension(executablePath, QStringLiteral("txt")), QString()};
    const QString base =
        QDir::isAbsolutePath(configHome) ? configHome : home + QStringLiteral("/.config");
    const QString folder = QDir::cleanPath(base + u'/' + kProgramFolder);
    return {folder + QStringLiteral("/vellor.ini"), folder + QStringLiteral("/vellor.txt"),
            dataFolder + QStringLiteral("/welcome.txt")};
}

SettingsLocation RunningProgramSettingsLocation()
{
    return SettingsLocationFor(QCoreApplication::applicationFilePath(),
                               qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

void PrepareSettingsLocation(const SettingsLocation& location)
{
    if (location.welcomeScriptPath.isEmpty())
        return;
    QDir().mkpath(QFileInfo(location.settingsPath).absolutePath());
    if (QFileInfo::exists(location.defaultScriptPath))
        return;
    QFile welcome(location.welcomeScriptPath);
    if (!welcome.open(QIODevice::ReadOnly))
        return;
    // Written whole or not at all, and owned by the user whatever the
    // installed copy's permissions.
    QSaveFile script(location.defaultScriptPath);
    if (script.open(QIODevice::WriteOnly)) {
        script.write(welcome.readAll());
        script.commit();
    }
}
