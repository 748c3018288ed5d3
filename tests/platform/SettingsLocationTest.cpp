#include "SettingsLocation.h"

#include "TempDir.h"

#include <QDir>

// Where the settings live, for a copy of the program in a folder of its own
// and for an installed one, and what the first installed start lays out.
class SettingsLocationTest : public TempDirTest
{
  protected:
    QString MakeFolder(const QString& name) const
    {
        QDir().mkpath(PathOf(name));
        return PathOf(name);
    }
};

TEST_F(SettingsLocationTest, APortableCopyKeepsItsFilesBesideItselfWhateverTheEnvironment)
{
    const QString tools = MakeFolder(QStringLiteral("tools"));
    const SettingsLocation location =
        SettingsLocationFor(tools + "/vellor", QStringLiteral("/config"), PathOf("home"));
    EXPECT_EQ(location.settingsPath, tools + "/vellor.ini");
    EXPECT_EQ(location.defaultScriptPath, tools + "/vellor.txt");
    EXPECT_TRUE(location.welcomeScriptPath.isEmpty());

    PrepareSettingsLocation(location);
    EXPECT_EQ(QDir(tools).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST_F(SettingsLocationTest, AnInstalledProgramKeepsThemInTheUsersConfigurationFolder)
{
    const QString bin = MakeFolder(QStringLiteral("usr/bin"));
    MakeFolder(QStringLiteral("usr/share/vellor"));
    const QString home = PathOf(QStringLiteral("home"));
    // XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
    const QString cases[][2] = {{QStringLiteral("/config"), QStringLiteral("/config/vellor")},
                                {QString(), home + "/.config/vellor"},
                                {QStringLiteral("relative"), home + "/.config/vellor"}};
    for (const auto& [configHome, folder] : cases) {
        const SettingsLocation location = SettingsLocationFor(bin + "/vellor", configHome, home);
        EXPECT_EQ(location.settingsPath, folder + "/vellor.ini") << configHome.toStdString();
        EXPECT_EQ(location.defaultScriptPath, folder + "/vellor.txt");
        EXPECT_EQ(location.welcomeScriptPath,
                  PathOf(QStringLiteral("usr/share/vellor/welcome.txt")));
    }
}

TEST_F(SettingsLocationTest,
       TheFirstStartMakesTheDefaultScriptFromTheWelcomeScriptAndLaterOnesKeepIt)
{
    MakeFolder(QStringLiteral("share/vellor"));
    WriteBytes(QStringLiteral("share/vellor/welcome.txt"), "Welcome.\r\n");
    const SettingsLocation location{PathOf("config/vellor/vellor.ini"),
                                    PathOf("config/vellor/vellor.txt"),
                                    PathOf("share/vellor/welcome.txt")};
    PrepareSettingsLocation(location);
    EXPECT_EQ(ReadBytes(QStringLiteral("config/vellor/vellor.txt")), "Welcome.\r\n");
    EXPECT_FALSE(QFile::exists(location.settingsPath));

    WriteBytes(QStringLiteral("config/vellor/vellor.txt"), "My own script.\r\n");
    PrepareSettingsLocation(location);
    EXPECT_EQ(ReadBytes(QStringLiteral("config/vellor/vellor.txt")), "My own script.\r\n");

    // Without a welcome script the folder is still made, so the settings can be kept.
    QDir(PathOf(QStringLiteral("config"))).removeRecursively();
    QFile::remove(location.welcomeScriptPath);
    PrepareSettingsLocation(location);
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("config/vellor"))).isDir());
    EXPECT_FALSE(QFile::exists(location.defaultScriptPath));
}
