#include "FileCommandsFixture.h"

#include <QFile>

// The script is never lost: New, Open and closing ask before replacing
// changes, a save that does not happen discards nothing, and a failed save
// leaves the old file whole.

namespace
{

// One answer to the question about unsaved changes in "script.txt", and what follows it.
struct Answered {
    const char* name;
    int command;
    MessageAnswer answer;
    const char* text;  // the editor's text afterwards; nullptr: the window has closed
    const char* path;  // the file name the window keeps; "": none
    const char* label; // the file label afterwards; nullptr: the window has closed
    bool saved;        // "script.txt" holds the edit
};

// The script as loaded with "x" typed at its start.
constexpr const char* kEdited = "xfirst line\nsecond line\n";

const Answered kAnswers[] = {
    {"NewNo", Ids::kCmdNew, MessageAnswer::No, "", "", "New File", false},
    {"NewCancel", Ids::kCmdNew, MessageAnswer::Cancel, kEdited, "script.txt", "File: script.txt",
     false},
    {"NewYes", Ids::kCmdNew, MessageAnswer::Yes, "", "", "New File", true},
    {"OpenNo", Ids::kCmdOpen, MessageAnswer::No, "other\n", "other.txt", "File: other.txt", false},
    {"OpenCancel", Ids::kCmdOpen, MessageAnswer::Cancel, kEdited, "script.txt", "File: script.txt",
     false},
    {"OpenYes", Ids::kCmdOpen, MessageAnswer::Yes, "other\n", "other.txt", "File: other.txt", true},
    // The file kept is the one the next start loads; after Yes that is the default script.
    {"ExitNo", Ids::kCmdExit, MessageAnswer::No, nullptr, "script.txt", nullptr, false},
    {"ExitCancel", Ids::kCmdExit, MessageAnswer::Cancel, kEdited, "script.txt", "File: script.txt",
     false},
    {"ExitYes", Ids::kCmdExit, MessageAnswer::Yes, nullptr, "", nullptr, true},
};

const char* CommandName(int command)
{
    return command == Ids::kCmdNew ? "New" : command == Ids::kCmdOpen ? "Open" : "Exit";
}

} // namespace

class FileCommandQuestion : public FileCommandsFixture,
                            public ::testing::WithParamInterface<Answered>
{
};

TEST_P(FileCommandQuestion, NamesTheFileAndFollowsTheAnswer)
{
    const Answered& c = GetParam();
    Type("x");
    WriteBytes("other.txt", "other\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    m_dialogs.answers.push_back(c.answer);
    Run(c.command);

    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, NamedQuestion(PathOf("script.txt")));
    EXPECT_EQ(LastMessage().caption, QStringLiteral("Vellor Teleprompter"));
    EXPECT_EQ(LastMessage().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(LastMessage().icon, MessageIcon::Question);
    // A named script is saved over itself, and a cancelled Open asks for no file.
    EXPECT_EQ(m_dialogs.saveDialogsShown, 0);
    if (c.answer == MessageAnswer::Cancel) {
        EXPECT_EQ(m_dialogs.openDialogsShown, 0);
    }

    EXPECT_EQ(ReadBytes("script.txt"), c.saved ? QByteArray("x") + kStored : QByteArray(kStored));
    EXPECT_EQ(Window().m_settings.m_strMRF, *c.path ? PathOf(c.path) : QString());
    EXPECT_EQ(Window().isVisible(), c.text != nullptr);
    if (c.text) {
        EXPECT_EQ(Editor().Text(), QByteArray(c.text));
        EXPECT_EQ(Window().FileLabel().text(), QString::fromLatin1(c.label));
    } else if (c.saved) {
        EXPECT_TRUE(Window().m_strFileName.isEmpty());
        EXPECT_TRUE(Window().m_strSavedText.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, FileCommandQuestion, ::testing::ValuesIn(kAnswers),
                         [](const ::testing::TestParamInfo<Answered>& info) {
                             return info.param.name;
                         });

class FileCommandOnChanges : public FileCommandsFixture, public ::testing::WithParamInterface<int>
{
};

TEST_P(FileCommandOnChanges, AnsweredYesButTheSaveFailsKeepsTheScriptItsFileAndTheWindow)
{
    Type("x");
    ASSERT_TRUE(QFile::remove(PathOf("script.txt"))); // another program deleted it
    WriteBytes("other.txt", "other\r\n");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(GetParam());
    EXPECT_EQ(LastMessage().text, SavingProblem(PathOf("script.txt")));
    EXPECT_EQ(m_dialogs.openDialogsShown, 0);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Editor().Text(), QByteArray(kEdited));
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

INSTANTIATE_TEST_SUITE_P(Commands, FileCommandOnChanges,
                         ::testing::Values(Ids::kCmdNew, Ids::kCmdOpen, Ids::kCmdExit),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return CommandName(info.param);
                         });

using FileCommandOnANewScript = FileCommandOnChanges;

TEST_P(FileCommandOnANewScript, AskingAboutTheNewFileYesSavesAsAndACancelledSaveAsKeepsAll)
{
    Run(Ids::kCmdNew);
    Type("draft");
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    Run(GetParam()); // the save dialog is cancelled: no path queued
    EXPECT_EQ(LastMessage().text, NewScriptQuestion());
    EXPECT_EQ(LastMessage().caption, QStringLiteral("Vellor Teleprompter"));
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Editor().Text(), QByteArray("draft"));
    EXPECT_TRUE(HasUnsavedChanges());

    m_dialogs.answers.push_back(MessageAnswer::Yes);
    m_dialogs.savePaths.push_back(PathOf("draft.txt"));
    Run(GetParam());
    EXPECT_EQ(ReadBytes("draft.txt"), QByteArray("draft"));
    if (GetParam() == Ids::kCmdExit) {
        EXPECT_FALSE(Window().isVisible());
    } else {
        EXPECT_EQ(Editor().Text(), QByteArray());
        EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("New File"));
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, FileCommandOnANewScript,
                         ::testing::Values(Ids::kCmdNew, Ids::kCmdExit),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return CommandName(info.param);
                         });

using FileCommandSafety = FileCommandsFixture;

TEST_F(FileCommandSafety, AfterAFailedStartUpLoadYesSavesAsAndTheQuestionNamesThePath)
{
    Create();
    Window().m_settings.m_strMRF = PathOf("missing.txt");
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

TEST_F(FileCommandSafety, SaveAfterAnotherProgramDeletedTheFileReportsItAndCreatesNothing)
{
    Type("x");
    ASSERT_TRUE(QFile::remove(PathOf("script.txt")));
    Run(Ids::kCmdSave);
    ExpectOneWarning(SavingProblem(PathOf("script.txt")));
    EXPECT_TRUE(HasUnsavedChanges());
    EXPECT_TRUE(FolderEntries().isEmpty());
}

TEST_F(FileCommandSafety, SaveOverAReadOnlyFileKeepsTheOldFile)
{
    Type("x");
    const ImmutableFlag readOnly(PathOf("script.txt")); // permission bits do not stop root
    if (!readOnly.IsSet())
        GTEST_SKIP() << "this file system cannot make a file read-only for root";
    Run(Ids::kCmdSave);
    ExpectOneWarning(SavingProblem(PathOf("script.txt")));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("script.txt")});
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommandSafety, SaveInAFolderThatTakesNoNewFileWritesTheFileInPlaceAndNothingElse)
{
    Type("a longer first line, x");
    const ImmutableFlag readOnly(m_dir.path());
    if (!readOnly.IsSet())
        GTEST_SKIP() << "this file system cannot make a folder read-only for root";
    Run(Ids::kCmdSave);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("a longer first line, x") + kStored);
    EXPECT_FALSE(HasUnsavedChanges());

    // A shorter text leaves nothing of the longer one behind.
    Editor().SetSelection(0, 22);
    QTest::keyClick(&Editor(), Qt::Key_Delete);
    Run(Ids::kCmdSave);
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("script.txt")});
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
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("script.txt"));
    EXPECT_TRUE(HasUnsavedChanges());
}
