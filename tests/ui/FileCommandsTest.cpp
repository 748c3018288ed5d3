#include "FileCommandsFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QWindow>

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
    EXPECT_TRUE(Window().m_settings.m_strMRF.isEmpty());
    EXPECT_TRUE(Window().m_strFileName.isEmpty());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("New File"));
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

// --- Open ------------------------------------------------------------------

TEST_F(FileCommands, OpenAndTheLoadFileButtonLoadTheChosenFileWithItsLinesSeparatedByLf)
{
    WriteBytes("other.txt", "one\r\ntwo\r\nthree");
    m_dialogs.openPaths.push_back(PathOf("other.txt"));
    Run(Ids::kCmdOpen);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(Editor().Text(), QByteArray("one\ntwo\nthree"));
    EXPECT_EQ(Window().m_strSavedText, Editor().Text());
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("other.txt"));
    EXPECT_EQ(Window().m_strFileName, QStringLiteral("other.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: other.txt"));
    EXPECT_EQ(Editor().Selection(), (CharRange{0, 0}));

    m_dialogs.openPaths.push_back(PathOf("script.txt"));
    Box(Ids::kLoadFileButton).click();
    EXPECT_EQ(Editor().Text(), QByteArray(kLoaded));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

TEST_F(FileCommands, ACancelledFileDialogChangesNothing)
{
    Type("x");
    for (const int command : {Ids::kCmdOpen, Ids::kCmdSaveAs}) {
        SCOPED_TRACE(command);
        m_dialogs.answers.push_back(MessageAnswer::No);
        Run(command);
        EXPECT_EQ(Editor().Text(), QByteArray("x") + kLoaded);
        EXPECT_TRUE(HasUnsavedChanges());
        EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("script.txt"));
    }
    EXPECT_EQ(m_dialogs.openDialogsShown, 1);
    EXPECT_EQ(m_dialogs.saveDialogsShown, 1);
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray(kStored));
}

TEST_F(FileCommands, OpeningAMissingFileOrSavingIntoAMissingFolderReportsItAndKeepsThePath)
{
    m_dialogs.openPaths.push_back(PathOf("gone.txt"));
    m_dialogs.savePaths.push_back(PathOf("no such folder/copy.txt"));
    for (const auto& [command, name] : {std::pair{Ids::kCmdOpen, "gone.txt"},
                                        std::pair{Ids::kCmdSaveAs, "no such folder/copy.txt"}}) {
        SCOPED_TRACE(name);
        m_dialogs.messages.clear();
        Run(command);
        ExpectOneWarning(OpeningProblem(PathOf(name)));
        EXPECT_EQ(Editor().Text(), QByteArray(kLoaded));
        EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("script.txt"));
        EXPECT_EQ(Window().m_strFileName, QStringLiteral("script.txt"));
        EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
    }
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
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("script.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));
}

// --- Save ------------------------------------------------------------------

TEST_F(FileCommands, SaveAndTheSaveFileButtonWriteEveryLineBreakAsCrLf)
{
    Type("new");
    QTest::keyClick(&Editor(), Qt::Key_Return);
    Run(Ids::kCmdSave);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("new\r\nfirst line\r\nsecond line\r\n"));
    EXPECT_FALSE(HasUnsavedChanges());
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: script.txt"));

    // Saving again, by the button, stores the text once.
    Type("x");
    Box(Ids::kSaveFileButton).click();
    EXPECT_EQ(ReadBytes("script.txt"), QByteArray("xnew\r\nfirst line\r\nsecond line\r\n"));
}

TEST_F(FileCommands, ShiftEnterAndPastedLineSeparatorsAreSavedAsCrLfAndKeepWindows1252)
{
    // A script of more lines than go one to a paragraph is grouped in the editor.
    QByteArray grouped;
    for (int i = 0; i < 21000; ++i)
        grouped += "line " + QByteArray::number(i) + "\r\n";
    for (const QByteArray& stored : {QByteArray("caf\xE9 one\r\nlast"), grouped + "caf\xE9"}) {
        SCOPED_TRACE(stored.size());
        WriteBytes("stored.txt", stored);
        m_dialogs.openPaths.push_back(PathOf("stored.txt"));
        Run(Ids::kCmdOpen);
        Editor().setFocus();
        Editor().moveCursor(QTextCursor::End);
        QWindow* window = Window().windowHandle();
        QTest::keyClick(window, Qt::Key_Return, Qt::ShiftModifier);
        for (const char c : {'t', 'w', 'o'})
            QTest::keyClick(window, c);
        QApplication::clipboard()->setText(QStringLiteral("\u2028three"));
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
        Run(Ids::kCmdSave);
        EXPECT_EQ(ReadBytes("stored.txt"), stored + "\r\ntwo\r\nthree");
        EXPECT_TRUE(m_dialogs.messages.empty());
    }
}

TEST_F(FileCommands, AWindows1252ScriptSavedAsUtf8SaysSoOnceForEachScript)
{
    const QString saidSo = QStringLiteral("This script now holds characters that Windows-1252 "
                                          "cannot store, so it is saved as UTF-8.");
    WriteBytes("stored.txt", "caf\xE9\r\n");
    m_dialogs.openPaths.push_back(PathOf("stored.txt"));
    for (int script = 0; script < 2; ++script) {
        SCOPED_TRACE(script);
        m_dialogs.messages.clear();
        Run(Ids::kCmdOpen);
        Editor().SetSelection(0, 0);
        QTest::sendKeyEvent(QTest::Click, &Editor(), Qt::Key_unknown, QStringLiteral("\u03A9 "),
                            Qt::NoModifier);
        Run(Ids::kCmdSave);
        EXPECT_EQ(ReadBytes("stored.txt"), QByteArray("\xCE\xA9 caf\xC3\xA9\r\n"));
        ASSERT_EQ(m_dialogs.messages.size(), 1u);
        EXPECT_EQ(LastMessage().text, saidSo);
        EXPECT_EQ(LastMessage().caption, ApplicationTitle());
        EXPECT_EQ(LastMessage().buttons, MessageButtons::Ok);
        EXPECT_EQ(LastMessage().icon, MessageIcon::Information);

        Type("x");
        m_dialogs.savePaths.push_back(PathOf("copy.txt"));
        Run(Ids::kCmdSaveAs);
        EXPECT_EQ(m_dialogs.messages.size(), 1u);
        // The next script opened is Windows-1252 again, and is told of anew.
        WriteBytes("stored.txt", "caf\xE9\r\n");
        m_dialogs.openPaths.push_back(PathOf("stored.txt"));
    }
}

TEST_F(FileCommands, CtrlSOnANewScriptReportsAnEmptyPath)
{
    Run(Ids::kCmdNew);
    Type("text");
    QTest::keyClick(&Editor(), Qt::Key_S, Qt::ControlModifier);
    ExpectOneWarning(QStringLiteral("There was a problem saving the file ."));
    EXPECT_TRUE(HasUnsavedChanges());
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
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("copy.txt"));
    EXPECT_EQ(Window().m_strFileName, QStringLiteral("copy.txt"));
    EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("File: copy.txt"));

    Run(Ids::kCmdExit);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("copy.txt"));
}

// --- Print -----------------------------------------------------------------

TEST_F(FileCommands, PrintPrintsTheStoredFileInWindows1252OrUtf8NotTheUnsavedEdits)
{
    Type("unsaved ");
    Run(Ids::kCmdPrint);
    WriteBytes("script.txt", "Caf\xE9\r\n");
    Run(Ids::kCmdPrint);
    WriteBytes("script.txt", "Caf\xC3\xA9\r\n");
    Run(Ids::kCmdPrint);
    ASSERT_EQ(m_dialogs.printRequests.size(), 3u);
    EXPECT_EQ(m_dialogs.printRequests[0].text, QString::fromLatin1(kLoaded));
    EXPECT_EQ(m_dialogs.printRequests[0].documentName, QStringLiteral("script.txt"));
    EXPECT_EQ(m_dialogs.printRequests[1].text, QStringLiteral("Caf\u00E9\n"));
    EXPECT_EQ(m_dialogs.printRequests[2].text, QStringLiteral("Caf\u00E9\n"));
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(FileCommands, PrintWithoutAStoredFileDoesNothingAndSaysNothing)
{
    Run(Ids::kCmdNew);
    Type("never saved");
    Run(Ids::kCmdPrint);
    QFile::remove(PathOf("script.txt"));
    Window().m_settings.m_strMRF = PathOf("script.txt");
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
    EXPECT_EQ(Window().m_settings.m_strMRF, PathOf("script.txt"));
}

// A script opened through the control window and saved unchanged, over
// itself or under a new name, is the same bytes it was.

namespace
{

struct StoredScript {
    const char* name;
    QByteArray bytes;
};

} // namespace

class FileCommandRoundTrip : public FileCommandsFixture,
                             public ::testing::WithParamInterface<StoredScript>
{
};

TEST_P(FileCommandRoundTrip, OpenedAndSavedUnchangedGivesTheSameBytes)
{
    const QByteArray& original = GetParam().bytes;
    WriteBytes("stored.txt", original);
    m_dialogs.openPaths.push_back(PathOf("stored.txt"));
    Run(Ids::kCmdOpen);
    ASSERT_TRUE(m_dialogs.messages.empty());
    EXPECT_FALSE(HasUnsavedChanges()) << "a freshly opened script counts as changed";

    Run(Ids::kCmdSave);
    m_dialogs.savePaths.push_back(PathOf("copy.txt"));
    Run(Ids::kCmdSaveAs);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(ReadBytes("stored.txt"), original);
    EXPECT_EQ(ReadBytes("copy.txt"), original);

    // Nothing changed, so closing asks nothing.
    Run(Ids::kCmdExit);
    EXPECT_TRUE(m_dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileCommandRoundTrip,
    ::testing::Values(StoredScript{"Windows1252CrLf", "Caf\xE9 \x93news\x94\r\n\x80 and \x81\r\n"},
                      StoredScript{"Utf8CrLf",
                                   "Caf\xC3\xA9 \xE2\x80\x9Cnews\xE2\x80\x9D\r\n\xE2\x82\xAC\r\n"},
                      StoredScript{"Utf8WithByteOrderMark", "\xEF\xBB\xBFline one\r\nline two"},
                      StoredScript{"NulByte", QByteArray("before\0after\r\nend\r\n", 19)},
                      StoredScript{"NulByteBeforeALongLine", QByteArray("before\0after\r\n", 14) +
                                                                 QByteArray(1200, 'x') + "\r\n"},
                      StoredScript{"LoneCrAndCrCrLf", "mac\rline\r\r\nend\r"},
                      StoredScript{"Empty", ""}),
    [](const ::testing::TestParamInfo<StoredScript>& info) { return info.param.name; });
