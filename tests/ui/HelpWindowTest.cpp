#include "HelpWindow.h"
#include "TempDir.h"

#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

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
