#pragma once

#include "ControlWindowFixture.h"
#include "ImmutableFlag.h"
#include "MenuRefresh.h"
#include "ModulePath.h"
#include "TransparentStatic.h"

#include <QDir>
#include <QTest>

// A control window that has loaded "script.txt" from the test's folder, with
// the means to edit its script and to read what the file commands asked and
// reported.
class FileCommandsFixture : public ControlWindowFixture
{
  protected:
    static constexpr const char* kStored = "first line\r\nsecond line\r\n";
    static constexpr const char* kLoaded = "first line\nsecond line\n";

    void SetUp() override
    {
        WriteBytes(QStringLiteral("script.txt"), kStored);
        Open();
        ASSERT_TRUE(m_dialogs.messages.empty());
    }

    // Types `text` at the start of the script, as the operator would.
    void Type(const QString& text)
    {
        Editor().SetSelection(0, 0);
        QTest::keyClicks(&Editor(), text);
    }

    bool HasUnsavedChanges() const { return Editor().Text() != Window().m_strSavedText; }

    // Runs command `id` the way its menu item or shortcut does.
    void Run(int id) { ASSERT_TRUE(Window().RunCommand(id)); }

    const FakeDialogService::Message& LastMessage() const
    {
        static const FakeDialogService::Message none{};
        return m_dialogs.messages.empty() ? none : m_dialogs.messages.back();
    }

    // Expects exactly one warning with `text`, captioned with the program's name.
    void ExpectOneWarning(const QString& text) const
    {
        ASSERT_EQ(m_dialogs.messages.size(), 1u);
        EXPECT_EQ(LastMessage().text, text);
        EXPECT_EQ(LastMessage().caption, ApplicationTitle());
        EXPECT_EQ(LastMessage().buttons, MessageButtons::Ok);
        EXPECT_EQ(LastMessage().icon, MessageIcon::Warning);
    }

    static QString OpeningProblem(const QString& path)
    {
        return QStringLiteral("There was a problem opening the file ") + path + QStringLiteral(".");
    }

    static QString SavingProblem(const QString& path)
    {
        return QStringLiteral("There was a problem saving the file ") + path + QStringLiteral(".");
    }

    static QString NamedQuestion(const QString& path)
    {
        return QStringLiteral("The file: '") + path +
               QStringLiteral("' has changed. Would you like to save your changes?");
    }

    static QString NewScriptQuestion()
    {
        return QStringLiteral(
            "The newly created file has changed. Would you like to save your changes?");
    }

    // The names in the test's folder, to see that no temporary file stays behind.
    QStringList FolderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};
