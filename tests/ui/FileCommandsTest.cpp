#include "FileCommandsFixture.h"

#include <QAction>
#include <QFile>

// New, Open, Save, Save As, Print and closing, against real files.

class FileCommands : public FileCommandsFixture
{
};

// --- New -------------------------------------------------------------------

TEST_F(FileCommands, NewWithoutChangesAsksNothingAndStartsAnEmptyScript)
{
    Run(Ids::kCmdNew);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(Editor().Text(), QByteArray());
    EXPECT_TRUE(Window().m_strSavedText.isEmpty());
    EXPECT_TRUE(Window().m_strFilePath.isEmpty());
    EXPECT_TRUE(Window().m_strFileName.isEmpty());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("New File"));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

TEST_F(FileCommands, NewWithChangesAsksNamingTheFileAndNoDiscardsThemLeavingTheFile)
{
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::No);
    Run(Ids::kCmdNew);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, NamedQuestion(PathOf("script.txt")));
    EXPECT_EQ(LastMessage().caption, QStringLiteral("Vellor Teleprompter"));
    EXPECT_EQ(LastMessage().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(LastMessage().icon, MessageIcon::Question);
    EXPECT_EQ(Editor().Text(), QByteArray());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("New File"));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

TEST_F(FileCommands, NewWithChangesAnsweredCancelChangesNothing)
{
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::Cancel);
    Run(Ids::kCmdNew);
    EXPECT_EQ(Editor().Text(), QByteArray("x") + kLoaded);
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

TEST_F(FileCommands, NewWithChangesAnsweredYesSavesTheNamedFileFirst)
{
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdNew);
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("x") + kStored);
    EXPECT_EQ(m_dialogs.saveDialogsShown, 0);
    EXPECT_EQ(Editor().Text(), QByteArray());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("New File"));
}

TEST_F(FileCommands, NewOnANewScriptWithChangesAnsweredYesSavesAsAChosenFile)
{
    Run(Ids::kCmdNew);
    Type("draft");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    m_dialogs.savePaths.push_back(PathOf("draft.txt"));
    Run(Ids::kCmdNew);
    EXPECT_EQ(LastMessage().text, NewScriptQuestion());
    EXPECT_EQ(ReadBytes("draft.txt"), QByteArray("draft"));
    EXPECT_EQ(Editor().Text(), QByteArray());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("New File"));
}

// --- Open ------------------------------------------------------------------

TEST_F(FileCommands, OpenLoadsTheChosenFileWithItsLinesSeparatedByLf)
{
    WriteBytes("other.txt", "one\r\ntwo\r\nthree");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    Run(Ids::kCmdOpen);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(Editor().Text(), QByteArray("one\ntwo\nthree"));
    EXPECT_EQ(Window().m_strSavedText, Editor().Text());
    EXPECT_EQ(Window().m_strFilePath, PathOf("other.txt"));
    EXPECT_EQ(Window().m_strFileName, QStringLiteral("other.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: other.txt"));
    EXPECT_EQ(Editor().Selection(), (CharRange{0, 0}));
}

TEST_F(FileCommands, OpenCancelledChangesNothing)
{
    Run(Ids::kCmdOpen);
    EXPECT_EQ(m_dialogs.openDialogsShown, 1);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(Editor().Text(), QByteArray(kLoaded));
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
}

TEST_F(FileCommands, OpenAMissingFileReportsItAndChangesNothing)
{
    m_dialogs.openPaths.push_back(PathOf("gone.txt"));
    Run(Ids::kCmdOpen);
    ExpectOneWarning(OpeningProblem(PathOf("gone.txt")));
    EXPECT_EQ(Editor().Text(), QByteArray(kLoaded));
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_EQ(Window().m_strFileName, QStringLiteral("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

TEST_F(FileCommands, OpenAReadOnlyFileReportsIt)
{
    WriteBytes("locked.txt", "locked\r\n");
    const ImmutableFlag readOnly(PathOf("locked.txt")); // permission bits do not stop root
    if (!readOnly.IsSet())
        GTEST_SKIP() << "this file system cannot make a file read-only for root";
    m_dialogs.openPaths.push_back(PathOf("locked.txt"));
    Run(Ids::kCmdOpen);
    ExpectOneWarning(OpeningProblem(PathOf("locked.txt")));
    EXPECT_EQ(Editor().Text(), QByteArray(kLoaded));
}

TEST_F(FileCommands, OpenAFileThatCannotBeReadReportsItAndChangesNothing)
{
    // This process's own memory opens for reading and writing, but reading it
    // from offset 0, an address never mapped, fails.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    if (!QFile::exists(unreadable))
        GTEST_SKIP() << "no file here opens but cannot be read";
    m_dialogs.openPaths.push_back(unreadable);
    Run(Ids::kCmdOpen);
    ExpectOneWarning(QStringLiteral("An unknown error occurred while accessing /proc/self/mem."));
    EXPECT_EQ(Editor().Text(), QByteArray(kLoaded));
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

TEST_F(FileCommands, TheLoadFileButtonOpensLikeTheMenu)
{
    WriteBytes("other.txt", "button\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    Box(Ids::kLoadFileButton).click();
    EXPECT_EQ(Editor().Text(), QByteArray("button\n"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: other.txt"));
}

TEST_F(FileCommands, OpenedScriptHasNoUnsavedChangesUntilEdited)
{
    WriteBytes("other.txt", "mixed\rbreaks\r\r\nend\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    Run(Ids::kCmdOpen);
    EXPECT_FALSE(HasUnsavedChanges());
    Type("y");
    EXPECT_TRUE(HasUnsavedChanges());
}

// --- Save ------------------------------------------------------------------

TEST_F(FileCommands, SaveWritesEveryLineBreakAsCrLf)
{
    Type("new");
    QTest::keyClick(&Editor(), Qt::Key_Return);
    Run(Ids::kCmdSave);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("new\r\nfirst line\r\nsecond line\r\n"));
    EXPECT_FALSE(HasUnsavedChanges());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

TEST_F(FileCommands, TheSaveFileButtonSavesLikeTheMenuAndSavingTwiceStoresTheTextOnce)
{
    Type("x");
    Box(Ids::kSaveFileButton).click();
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("x") + kStored);
    Run(Ids::kCmdSave);
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("x") + kStored);
}

TEST_F(FileCommands, CtrlSOnANewScriptReportsAnEmptyPath)
{
    Run(Ids::kCmdNew);
    Type("text");
    QTest::keyClick(&Editor(), Qt::Key_S, Qt::ControlModifier);
    ExpectOneWarning(QStringLiteral("There was a problem saving the file ."));
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommands, SaveIsAlwaysEnabled)
{
    EXPECT_TRUE(MenuShowsEnabled(Window(), Ids::kCmdSave));
    Type("x");
    EXPECT_TRUE(MenuShowsEnabled(Window(), Ids::kCmdSave));
    m_dialogs.answers.push_back(MessageAnswer::No);
    Run(Ids::kCmdNew);
    Window().CommandAction(Ids::kCmdSave)->setEnabled(false);
    EXPECT_TRUE(MenuShowsEnabled(Window(), Ids::kCmdSave));
}

// --- Save As ---------------------------------------------------------------

TEST_F(FileCommands, SaveAsWritesANewFileAndNamesItThenClosingAsksNothing)
{
    Type("x");
    m_dialogs.savePaths.push_back(PathOf("copy.txt"));
    Run(Ids::kCmdSaveAs);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(ReadBytes("copy.txt"), QByteArray("x") + kStored);
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
    EXPECT_EQ(Window().m_strFilePath, PathOf("copy.txt"));
    EXPECT_EQ(Window().m_strFileName, QStringLiteral("copy.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: copy.txt"));

    Run(Ids::kCmdExit);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Window().m_strFilePath, PathOf("copy.txt"));
}

TEST_F(FileCommands, SaveAsReplacesAnExistingFileWhole)
{
    WriteBytes("long.txt", QByteArray(5000, 'z'));
    m_dialogs.savePaths.push_back(PathOf("long.txt"));
    Run(Ids::kCmdSaveAs);
    EXPECT_EQ(ReadBytes("long.txt"), QByteArray(kStored));
}

TEST_F(FileCommands, SaveAsCancelledChangesNothing)
{
    Type("x");
    Run(Ids::kCmdSaveAs);
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_TRUE(HasUnsavedChanges());
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
}

TEST_F(FileCommands, SaveAsIntoAMissingFolderReportsItAndKeepsThePath)
{
    const QString path = PathOf("no such folder/copy.txt");
    m_dialogs.savePaths.push_back(path);
    Run(Ids::kCmdSaveAs);
    ExpectOneWarning(OpeningProblem(path));
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

// --- Print -----------------------------------------------------------------

TEST_F(FileCommands, PrintPrintsTheStoredFileNotTheUnsavedEdits)
{
    Type("unsaved ");
    Run(Ids::kCmdPrint);
    ASSERT_EQ(m_dialogs.printRequests.size(), 1u);
    EXPECT_EQ(m_dialogs.printRequests[0].text, QString::fromLatin1(kLoaded));
    EXPECT_EQ(m_dialogs.printRequests[0].documentName, QStringLiteral("script.txt"));
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommands, PrintReadsWindows1252AndUtf8Files)
{
    WriteBytes("script.txt", "Caf\xE9\r\n");
    Run(Ids::kCmdPrint);
    WriteBytes("script.txt", "Caf\xC3\xA9\r\n");
    Run(Ids::kCmdPrint);
    ASSERT_EQ(m_dialogs.printRequests.size(), 2u);
    EXPECT_EQ(m_dialogs.printRequests[0].text, QStringLiteral("Caf\u00E9\n"));
    EXPECT_EQ(m_dialogs.printRequests[1].text, QStringLiteral("Caf\u00E9\n"));
}

TEST_F(FileCommands, PrintToAPdfFileWritesADocument)
{
    m_dialogs.printPdfPath = PathOf("printed.pdf");
    Run(Ids::kCmdPrint);
    const QByteArray pdf = ReadBytes("printed.pdf");
    EXPECT_TRUE(pdf.startsWith("%PDF")) << "no PDF was written";
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(FileCommands, PrintWithoutAStoredFileDoesNothingAndSaysNothing)
{
    Run(Ids::kCmdNew);
    Type("never saved");
    Run(Ids::kCmdPrint);
    QFile::remove(PathOf("script.txt"));
    Window().m_strFilePath = PathOf("script.txt");
    Run(Ids::kCmdPrint);
    EXPECT_TRUE(m_dialogs.printRequests.empty());
    EXPECT_TRUE(m_dialogs.messages.empty());
}

// --- Closing ---------------------------------------------------------------

TEST_F(FileCommands, ClosingAfterAnEditTakenBackEndsAtOnceAndKeepsTheFile)
{
    Type("x");
    QTest::keyClick(&Editor(), Qt::Key_Backspace);
    Run(Ids::kCmdExit);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
}

TEST_F(FileCommands, ClosingANeverSavedScriptAsksAboutTheNewFileAndYesSavesAs)
{
    Run(Ids::kCmdNew);
    Type("draft");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    m_dialogs.savePaths.push_back(PathOf("draft.txt"));
    QTest::keyClick(&Editor(), Qt::Key_Escape);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, NewScriptQuestion());
    EXPECT_EQ(LastMessage().caption, QStringLiteral("Vellor Teleprompter"));
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_EQ(ReadBytes("draft.txt"), QByteArray("draft"));
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(FileCommands, ClosingANamedScriptAnsweredYesSavesItAndForgetsIt)
{
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(Ids::kCmdExit);
    EXPECT_EQ(LastMessage().text, NamedQuestion(PathOf("script.txt")));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("x") + kStored);
    EXPECT_FALSE(Window().isVisible());
    // The next start loads the default script, not this one.
    EXPECT_TRUE(Window().m_strFilePath.isEmpty());
    EXPECT_TRUE(Window().m_strFileName.isEmpty());
    EXPECT_TRUE(Window().m_strSavedText.isEmpty());
}

TEST_F(FileCommands, ClosingAnsweredNoKeepsTheFileAsLastSaved)
{
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(Window().close());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Window().m_strFilePath, PathOf("script.txt"));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

TEST_F(FileCommands, ClosingAnsweredCancelKeepsTheWindowOpen)
{
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommands, AfterAFailedStartUpLoadYesSavesAsAndTheQuestionNamesThePath)
{
    Create();
    Window().m_strFilePath = PathOf("missing.txt");
    Open();
    m_dialogs.messages.clear();
    Type("x");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    m_dialogs.savePaths.push_back(PathOf("rescued.txt"));
    Run(Ids::kCmdExit);
    EXPECT_EQ(m_dialogs.messages.front().text, NamedQuestion(PathOf("missing.txt")));
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_EQ(ReadBytes("rescued.txt"), QByteArray("x"));
}
