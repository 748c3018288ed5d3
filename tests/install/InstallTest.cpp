#include "TempDir.h"
#include "XWindows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <functional>

// The program as a package installs it: `cmake --install` into a staging
// root, then the installed binary started the way a user starts it, with a
// home of its own, on the X display. What a person would see is read from
// the display; the window is closed with its close box.
class Installed : public TempDirTest
{
  protected:
    static constexpr char kControlWindow[] = "Vellor Teleprompter Software";
    static constexpr char kMessageCaption[] = "vellor"; // the executable's name

    void SetUp() override
    {
        if (!m_display.Connected())
            GTEST_SKIP() << "no X display: the installed program is not tried";
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), PathOf(QStringLiteral("root")));
        install.setProcessEnvironment(environment);
        install.start(QStringLiteral(VELLOR_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(VELLOR_BINARY_DIR),
                       QStringLiteral("--prefix"), QStringLiteral("/usr")});
        ASSERT_TRUE(install.waitForFinished(60000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
        QDir().mkpath(Home());
    }

    QString InstalledPath(const QString& path) const
    {
        return PathOf(QStringLiteral("root/usr/") + path);
    }
    QString Home() const { return PathOf(QStringLiteral("home")); }
    QString ConfigFile(const QString& name) const
    {
        return Home() + QStringLiteral("/.config/vellor/") + name;
    }

    static QByteArray Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Waits up to ten seconds for `shown` to hold.
    static bool WaitFor(const std::function<bool()>& shown)
    {
        QElapsedTimer clock;
        clock.start();
        while (!shown()) {
            if (clock.elapsed() > 10000)
                return false;
            QThread::msleep(50);
        }
        return true;
    }

    // Starts the installed program, checks that its control window comes
    // up with no message beside it, and closes it. False when it did not
    // come up or end as it should.
    void StartAndClose()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), Home());
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(environment);
        program.start(InstalledPath(QStringLiteral("bin/vellor")), {});
        ASSERT_TRUE(program.waitForStarted());
        std::optional<xcb_window_t> window;
        const bool cameUp =
            WaitFor([&] { return (window = m_display.Shown(kControlWindow)).has_value(); });
        // A message at start-up comes while the window is being opened.
        QThread::msleep(300);
        const bool message = m_display.Shown(kMessageCaption).has_value();
        if (cameUp && !message)
            m_display.Close(*window);
        if (!program.waitForFinished(10000))
            program.kill();
        program.waitForFinished();
        ASSERT_TRUE(cameUp);
        ASSERT_FALSE(message);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }

    XWindows m_display;
};

TEST_F(Installed, FirstStartOpensTheWelcomeScriptAndPreferencesAreKeptInTheUsersFolder)
{
    ASSERT_NO_FATAL_FAILURE(StartAndClose());
    const QByteArray welcome = Contents(InstalledPath(QStringLiteral("share/vellor/welcome.txt")));
    EXPECT_FALSE(welcome.isEmpty());
    EXPECT_EQ(Contents(ConfigFile(QStringLiteral("vellor.txt"))), welcome);
    const QByteArray first = Contents(ConfigFile(QStringLiteral("vellor.ini")));
    EXPECT_TRUE(first.startsWith(
        "[Settings]\r\nMRF=" + ConfigFile(QStringLiteral("vellor.txt")).toUtf8() + "\r\n"))
        << first.toStdString();
    EXPECT_FALSE(QFile::exists(InstalledPath(QStringLiteral("bin/vellor.ini"))));

    // Preferences changed between two starts come back as they were left.
    QByteArray changed = first;
    changed.replace("CRBack=16777215", "CRBack=255").replace("FontSize=240", "FontSize=300");
    QFile settings(ConfigFile(QStringLiteral("vellor.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(changed);
    settings.close();
    ASSERT_NO_FATAL_FAILURE(StartAndClose());
    EXPECT_EQ(Contents(ConfigFile(QStringLiteral("vellor.ini"))), changed);
}

TEST_F(Installed, DesktopEntryAndMetainfoPassTheirValidators)
{
    const struct {
        const char* tool;
        QStringList arguments;
    } checks[] = {
        {"desktop-file-validate",
         {InstalledPath(QStringLiteral("share/applications/vellor.desktop"))}},
        {"appstreamcli",
         {QStringLiteral("validate"), QStringLiteral("--no-net"),
          InstalledPath(QStringLiteral("share/metainfo/org.example.vellor.metainfo.xml"))}},
    };
    for (const auto& check : checks) {
        const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(check.tool));
        if (tool.isEmpty()) {
            std::printf("%s is not installed: not checked\n", check.tool);
            continue;
        }
        QProcess validator;
        validator.setProcessChannelMode(QProcess::MergedChannels);
        validator.start(tool, check.arguments);
        ASSERT_TRUE(validator.waitForFinished(30000));
        const QByteArray said = validator.readAll();
        EXPECT_EQ(validator.exitCode(), 0) << check.tool << ": " << said.toStdString();
        EXPECT_FALSE(said.contains("hint:")) << said.toStdString();
    }
    for (const int size : {32, 48, 64, 128, 256})
        EXPECT_TRUE(QFile::exists(
            InstalledPath(QStringLiteral("share/icons/hicolor/%1x%1/apps/vellor.png").arg(size))));
    EXPECT_TRUE(QFile::exists(InstalledPath(QStringLiteral("share/man/man1/vellor.1.gz"))));
    EXPECT_TRUE(QFile::exists(InstalledPath(QStringLiteral("share/doc/vellor/vellor.html"))));
}
