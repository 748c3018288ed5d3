#include "FileCommandsFixture.h"

#include <QAction>
#include <QFile>

// The script is never lost: a save that does not happen discards nothing,
// Open asks before replacing changes, a failed save leaves the old file whole,
// and Shift+S is a letter.

class FileCommandSafety : public FileCommandsFixture
{
};

TEST_F(FileCommandSafety, NewAnsweredYesButSaveAsCancelledKeepsTheScript)
{
    Run(Ids::kCmdNew);
    Type("draft");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdNew); // the save dialog is cancelled: no path queued
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_EQ(Editor().Text(), QByteArray("draft"));
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommandSafety, NewAnsweredYesButTheSaveFailsKeepsTheScriptAndItsFile)
{
    Type("x");
    ASSERT_TRUE(QFile::remove(PathOf("script.txt"))); // another program deleted it
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdNew);
    EXPECT_EQ(LastMessage().text, SavingProblem(PathOf("script.txt")));
    EXPECT_EQ(Editor().Text(), QByteArray("x") + kLoaded);
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

TEST_F(FileCommandSafety, ClosingAnsweredYesButSaveAsCancelledKeepsTheWindowOpen)
{
    Run(Ids::kCmdNew);
    Type("draft");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Editor().Text(), QByteArray("draft"));
}

TEST_F(FileCommandSafety, ClosingAnsweredYesButTheSaveFailsKeepsTheWindowAndThePath)
{
    Type("x");
    ASSERT_TRUE(QFile::remove(PathOf("script.txt")));
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdExit);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommandSafety, OpenWithChangesAsksFirstAndCancelKeepsThem)
{
    Type("x");
    WriteBytes("other.txt", "other\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    m_dialogs.answers.push_back(MessageAnswer::Cancel);
    Run(Ids::kCmdOpen);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, NamedQuestion(PathOf("script.txt")));
    EXPECT_EQ(LastMessage().caption, QStringLiteral("Vellor Teleprompter"));
    EXPECT_EQ(m_dialogs.openDialogsShown, 0);
    EXPECT_EQ(Editor().Text(), QByteArray("x") + kLoaded);
}

TEST_F(FileCommandSafety, OpenWithChangesAnsweredNoReplacesThem)
{
    Type("x");
    WriteBytes("other.txt", "other\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    m_dialogs.answers.push_back(MessageAnswer::No);
    Box(Ids::kLoadFileButton).click();
    EXPECT_EQ(Editor().Text(), QByteArray("other\n"));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

TEST_F(FileCommandSafety, OpenWithChangesAnsweredYesSavesThenOpens)
{
    Type("x");
    WriteBytes("other.txt", "other\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdOpen);
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("x") + kStored);
    EXPECT_EQ(Editor().Text(), QByteArray("other\n"));
}

TEST_F(FileCommandSafety, OpenAnsweredYesButTheSaveFailsOpensNothing)
{
    Type("x");
    ASSERT_TRUE(QFile::remove(PathOf("script.txt")));
    WriteBytes("other.txt", "other\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdOpen);
    EXPECT_EQ(m_dialogs.openDialogsShown, 0);
    EXPECT_EQ(Editor().Text(), QByteArray("x") + kLoaded);
}

TEST_F(FileCommandSafety, SaveAfterAnotherProgramDeletedTheFileReportsItAndCreatesNothing)
{
    Type("x");
    ASSERT_TRUE(QFile::remove(PathOf("script.txt")));
    Run(Ids::kCmdSave);
    ExpectOneWarning(SavingProblem(PathOf("script.txt")));
    EXPECT_FALSE(QFile::exists(PathOf("script.txt")));
    EXPECT_TRUE(HasUnsavedChanges());
    EXPECT_TRUE(FolderEntries().isEmpty());
}

TEST_F(FileCommandSafety, SaveIntoAFolderThatTurnedReadOnlyKeepsTheOldFile)
{
    Type("x");
    const ImmutableFlag readOnly(m_dir.path()); // permission bits do not stop root
    if (!readOnly.IsSet())
        GTEST_SKIP() << "this file system cannot make a folder read-only for root";
    Run(Ids::kCmdSave);
    ExpectOneWarning(SavingProblem(PathOf("script.txt")));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("script.txt")});
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommandSafety, SaveAsOverAFileInAReadOnlyFolderKeepsTheOldFileAndThePath)
{
    WriteBytes("other.txt", "other\r\n");
    Type("x");
    const ImmutableFlag readOnly(m_dir.path());
    if (!readOnly.IsSet())
        GTEST_SKIP() << "this file system cannot make a folder read-only for root";
    m_dialogs.savePaths.push_back(PathOf("other.txt"));
    Run(Ids::kCmdSaveAs);
    ExpectOneWarning(OpeningProblem(PathOf("other.txt")));
    EXPECT_EQ(ReadBytes("other.txt"), QByteArray("other\r\n"));
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommandSafety, SaveOverAReadOnlyFileReportsItAndKeepsTheFile)
{
    Type("x");
    const ImmutableFlag readOnly(PathOf("script.txt"));
    if (!readOnly.IsSet())
        GTEST_SKIP() << "this file system cannot make a file read-only for root";
    Run(Ids::kCmdSave);
    ExpectOneWarning(SavingProblem(PathOf("script.txt")));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

TEST_F(FileCommandSafety, ASuccessfulSaveLeavesNoTemporaryFileBehind)
{
    Type("x");
    Run(Ids::kCmdSave);
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("script.txt")});
}

TEST_F(FileCommandSafety, ShiftSTypesAnSAndCtrlShiftSSavesAs)
{
    EXPECT_EQ(Window().CommandAction(Ids::kCmdSaveAs)->text(),
              QStringLiteral("Save &As ...\tCtrl+Shift+S"));
    Editor().setFocus();
    Editor().SetSelection(0, 0);
    QTest::keyClick(&Editor(), 'S', Qt::ShiftModifier); // key S, text "S"
    EXPECT_EQ(m_dialogs.saveDialogsShown, 0);
    EXPECT_EQ(Editor().Text(), QByteArray("S") + kLoaded);

    m_dialogs.savePaths.push_back(PathOf("capital.txt"));
    QTest::keyClick(&Editor(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_EQ(ReadBytes("capital.txt"), QByteArray("S") + kStored);
}
