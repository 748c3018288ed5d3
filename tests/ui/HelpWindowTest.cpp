#include "HelpWindow.h"
#include "ControlCommands.h"
#include "FakeDialogService.h"
#include "TempDir.h"
#include "VellorDlg.h"

#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <string>

TEST(HelpFilePath, NeverCutsAFullStopInAFolderName)
{
    // The file name's extension is replaced, or one appended.
    EXPECT_EQ(HelpFilePath(QStringLiteral("C:\\Tools\\vellor.exe")),
              QStringLiteral("C:\\Tools\\vellor.html"));
    EXPECT_EQ(HelpFilePath(QStringLiteral("/opt/vellor/vellor.bin2")),
              QStringLiteral("/opt/vellor/vellor.html"));
    EXPECT_EQ(HelpFilePath(QStringLiteral("/opt/vellor/vellor")),
              QStringLiteral("/opt/vellor/vellor.html"));
    EXPECT_EQ(HelpFilePath(QStringLiteral("/home/a.b/bin/vellor")),
              QStringLiteral("/home/a.b/bin/vellor.html"));
    EXPECT_EQ(HelpFilePath(QStringLiteral("/opt/.vellor")), QStringLiteral("/opt/.vellor.html"));
}

class HelpWindowTest : public TempDirTest
{
  protected:
    QString Executable() const { return PathOf(QStringLiteral("vellor")); }
    QWidget owner;
};

TEST_F(HelpWindowTest, ShowsTheBuiltInGuideWhenNoHelpFileIsBesideTheProgram)
{
    EXPECT_EQ(HelpSource(Executable()), BuiltInHelpUrl());
    HelpWindow* help = ShowHelpContents(&owner, Executable());
    EXPECT_EQ(help->source(), BuiltInHelpUrl());
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Getting started")));
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("beam-splitter")));
}

TEST_F(HelpWindowTest, PrefersTheHelpFileBesideTheProgram)
{
    WriteBytes(QStringLiteral("vellor.html"), "<html><body><p>Site guide</p></body></html>");
    const HelpWindow* help = ShowHelpContents(&owner, Executable());
    EXPECT_EQ(help->source(), QUrl::fromLocalFile(PathOf(QStringLiteral("vellor.html"))));
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Site guide")));
}

TEST_F(HelpWindowTest, EachOwnerHasOneHelpWindowThatQuittingCloses)
{
    QWidget other;
    QPointer<HelpWindow> mine = ShowHelpContents(&owner, Executable());
    EXPECT_EQ(ShowHelpContents(&owner, Executable()), mine.data());
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
    QPointer<HelpWindow> theirs = ShowHelpContents(&other, Executable());
    QuitHelp(&other);
    EXPECT_FALSE(mine.isNull());
    EXPECT_TRUE(theirs.isNull());
    QuitHelp(&owner);
    EXPECT_TRUE(mine.isNull());
    // Quitting again, with no help window left, is harmless.
    QuitHelp(&owner);
}

namespace
{

// A shortcut as one text, however it is written ("ESC" and "Esc" alike).
std::string Keys(const QString& text)
{
    return QKeySequence::fromString(text.simplified(), QKeySequence::PortableText)
        .toString(QKeySequence::PortableText)
        .toStdString();
}

// Command name and keys of every row with keys in the guide's shortcut
// tables: the tables of class "shortcuts", whose rows start with the command
// as its menu names it and its keys.
std::map<std::string, std::string> GuideShortcuts()
{
    QFile file(BuiltInHelpUrl().toString().replace(QStringLiteral("qrc:"), QStringLiteral(":")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(file.readAll());
    const QRegularExpression table(QStringLiteral(R"(<table class="shortcuts"[^>]*>(.*?)</table>)"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression row(QStringLiteral(R"(<tr><td>(.*?)</td><td[^>]*>(.*?)</td>)"),
                                 QRegularExpression::DotMatchesEverythingOption);
    std::map<std::string, std::string> shortcuts;
    for (const auto& tableMatch : table.globalMatch(guide)) {
        for (const auto& rowMatch : row.globalMatch(tableMatch.captured(1))) {
            if (!rowMatch.captured(2).trimmed().isEmpty())
                shortcuts[rowMatch.captured(1).simplified().toStdString()] =
                    Keys(rowMatch.captured(2));
        }
    }
    return shortcuts;
}

} // namespace

TEST(OperatorsGuide, ListsEveryShortcutOfTheControlWindowAsItsMenuShowsIt)
{
    FakeDialogService dialogs;
    const CVellorDlg window(dialogs);
    std::map<std::string, std::string> program;
    for (const ControlCommand& command : ControlCommands()) {
        const QAction* item = window.CommandAction(command.id);
        if (!item->shortcut().isEmpty())
            program[QString(item->text()).remove(u'&').toStdString()] =
                Keys(item->shortcut().toString(QKeySequence::PortableText));
    }
    EXPECT_EQ(GuideShortcuts(), program);
}
