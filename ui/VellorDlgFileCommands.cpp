#include "VellorDlg.h"

#include "ModulePath.h"
#include "RecoveryKeeper.h"
#include "ResourceIds.h"
#include "ScriptEditor.h"
#include "ScriptEncoding.h"
#include "ScriptFile.h"
#include "TransparentStatic.h"

#include <QAction>
#include <QFile>
#include <QTextDocument>

#include <optional>

// Script files: New, Open, Save, Save As, Print and the closing path.
//
// The script has unsaved changes exactly when the editor's text differs from
// m_strSavedText byte for byte; there is no modified flag to drift out of step.
// Nothing the operator wrote is ever discarded unless a save succeeded or the
// operator said No: a save that fails or a Save As that is cancelled counts as
// Cancel. Saves write a complete temporary file beside the target and rename
// it over the old one, so a failed save leaves the old file as it was. While
// there are unsaved changes a recovery copy keeps them through a crash; it
// goes once they are saved or the operator drops them.

namespace
{

QString OpeningProblem(const QString& path)
{
    return QStringLiteral("There was a problem opening the file %1.").arg(path);
}

QString SavingProblem(const QString& path)
{
    return QStringLiteral("There was a problem saving the file %1.").arg(path);
}

QString ReadingProblem(const QString& path)
{
    return QStringLiteral("An unknown error occurred while accessing %1.").arg(path);
}

// A script file read for a command: whether it could be opened with the
// access the command asks for, and its text when it could also be read.
struct OpenedScript {
    bool opened = false;            // the file could be opened
    std::optional<QByteArray> text; // its text; empty on a read error
};

OpenedScript ReadScriptAt(const QString& path, QIODevice::OpenMode mode)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(mode | QIODevice::ExistingOnly))
        return {};
    return {true, ReadScriptFile(file)};
}

} // namespace

MessageAnswer CVellorDlg::AskToSaveChanges()
{
    const QString question =
        m_settings.m_strMRF.isEmpty()
            ? QStringLiteral(
                  "The newly created file has changed. Would you like to save your changes?")
            : QStringLiteral("The file: '%1' has changed. Would you like to save your changes?")
                  .arg(m_settings.m_strMRF);
    const MessageAnswer answer =
        m_dialogs.ShowMessage(this, question, QStringLiteral("Vellor Teleprompter"),
                              MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::No && m_recovery)
        m_recovery->Discard();
    if (answer != MessageAnswer::Yes)
        return answer;
    if (m_strFileName.isEmpty())
        OnFileSaveAs();
    else
        OnFileSave();
    // A save that did not happen must not let the caller discard the script.
    return HasUnsavedChanges() ? MessageAnswer::Cancel : MessageAnswer::Yes;
}

void CVellorDlg::OnFileNew()
{
    if (EndRunBefore(Ids::kCmdNew))
        return;
    if (HasUnsavedChanges() && AskToSaveChanges() == MessageAnswer::Cancel)
        return;
    m_settings.m_strMRF.clear();
    m_strFileName.clear();
    FileLabel().setText(QStringLiteral("New File"));
    FileLabel().repaint();
    Editor().SetText(QByteArray());
    m_strSavedText = Editor().Text();
    ScriptReplaced();
}

std::optional<QByteArray> CVellorDlg::ReadScriptForEditing(const QString& path)
{
    const OpenedScript script = ReadScriptAt(path, QIODevice::ReadWrite);
    if (!script.opened || !script.text) {
        m_dialogs.ShowMessage(this, script.opened ? ReadingProblem(path) : OpeningProblem(path),
                              ApplicationTitle(), MessageButtons::Ok, MessageIcon::Warning);
        return std::nullopt;
    }
    return script.text;
}

void CVellorDlg::OnFileOpen()
{
    if (EndRunBefore(Ids::kCmdOpen))
        return;
    if (HasUnsavedChanges() && AskToSaveChanges() == MessageAnswer::Cancel)
        return;
    const std::optional<QString> chosen = m_dialogs.GetOpenFilePath(this);
    if (!chosen || chosen->isEmpty())
        return;
    const QString& path = *chosen;
    const std::optional<QByteArray> text = ReadScriptForEditing(path);
    if (!text)
        return;
    m_settings.m_strMRF = path;
    m_strFileName = FileNameFromPath(path);
    ShowFileLabel();
    Editor().SetSelection(-1, -1);
    Editor().SetText(*text);
    // What the editor reports for the text just set is the baseline for changes.
    m_strSavedText = Editor().Text();
    Editor().SetSelection(0, 0);
    Editor().HideSelection(false);
    ScriptReplaced();
}

void CVellorDlg::OnFileSave()
{
    const EncodedScript text = Editor().TextWithEncoding();
    // The file must exist already: Save As is the way to give a script a new file.
    if (!SaveScriptFileAtomically(m_settings.m_strMRF, text.bytes, true)) {
        m_dialogs.ShowMessage(this, SavingProblem(m_settings.m_strMRF), ApplicationTitle(),
                              MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    ScriptSaved(text);
}

void CVellorDlg::OnFileSaveAs()
{
    const std::optional<QString> chosen = m_dialogs.GetSaveFilePath(this);
    if (!chosen || chosen->isEmpty())
        return;
    const QString& path = *chosen;
    const EncodedScript text = Editor().TextWithEncoding();
    if (!SaveScriptFileAtomically(path, text.bytes, false)) {
        m_dialogs.ShowMessage(this, OpeningProblem(path), ApplicationTitle(), MessageButtons::Ok,
                              MessageIcon::Warning);
        return;
    }
    m_settings.m_strMRF = path;
    m_strFileName = FileNameFromPath(path);
    ShowFileLabel();
    ScriptSaved(text);
}

void CVellorDlg::ScriptSaved(const EncodedScript& text)
{
    m_strSavedText = text.bytes;
    if (m_recovery)
        m_recovery->Discard();
    // A Windows-1252 script that came to hold a character Windows-1252 lacks
    // is stored as UTF-8 rather than lose it; the operator hears of it once,
    // and may still save it under another name.
    if (text.encoding == Editor().Encoding() || m_bToldOfUtf8)
        return;
    m_bToldOfUtf8 = true;
    m_dialogs.ShowMessage(this,
                          QStringLiteral("This script now holds characters that Windows-1252 "
                                         "cannot store, so it is saved as UTF-8."),
                          ApplicationTitle(), MessageButtons::Ok, MessageIcon::Information);
}

void CVellorDlg::ScriptReplaced()
{
    m_bToldOfUtf8 = false;
    if (m_recovery)
        m_recovery->Discard();
}

bool CVellorDlg::HasUnsavedChanges() const
{
    return Editor().Text() != m_strSavedText;
}

void CVellorDlg::KeepRecoveryCopy(RecoveryKeeper& keeper)
{
    m_recovery = &keeper;
    keeper.Follow(*this, [this]() -> std::optional<RecoveryKeeper::Unsaved> {
        if (!HasUnsavedChanges())
            return std::nullopt;
        return RecoveryKeeper::Unsaved{m_settings.m_strMRF, Editor().EditedText()};
    });
    connect(Editor().document(), &QTextDocument::contentsChanged, &keeper,
            &RecoveryKeeper::NoteChange);
}

void CVellorDlg::RestoreRecoveredScript()
{
    if (!m_recovered)
        return;
    // A script that had no file yet comes back as a new one.
    if (m_recovered->filePath.isEmpty())
        OnFileNew();
    Editor().ReplaceText(m_recovered->text);
    m_recovered.reset();
    // New dropped the copy; the changes are in nothing else until it is back.
    if (m_recovery)
        m_recovery->Update();
}

bool CVellorDlg::OnSessionEnd(const std::function<bool()>& mayAsk)
{
    if (!HasUnsavedChanges())
        return true;
    if (mayAsk())
        return AskToSaveChanges() != MessageAnswer::Cancel;
    if (m_recovery)
        m_recovery->Update();
    return true;
}

void CVellorDlg::OnFilePrint()
{
    // The file as stored is printed, not the editor's text. Printing reports
    // nothing: a file that cannot be read or a cancelled print just ends here.
    const OpenedScript script = ReadScriptAt(m_settings.m_strMRF, QIODevice::ReadOnly);
    if (!script.text)
        return;
    m_dialogs.PrintText(this, FileNameFromPath(m_settings.m_strMRF),
                        DecodeScriptText(*script.text).text);
}

void CVellorDlg::OnFileExit()
{
    OnCancel();
}

void CVellorDlg::OnCancel()
{
    if (HasUnsavedChanges()) {
        const MessageAnswer answer = AskToSaveChanges();
        if (answer == MessageAnswer::Cancel)
            return;
        if (answer == MessageAnswer::Yes) {
            // A script saved on the way out is not reopened at the next start.
            m_strSavedText.clear();
            m_settings.m_strMRF.clear();
            m_strFileName.clear();
        }
    }
    // Closing here leaves nothing unsaved: the changes were saved, dropped or taken back.
    if (m_recovery)
        m_recovery->Discard();
    done(QDialog::Rejected);
}

void CVellorDlg::OnUpdateFileSave(QAction& item)
{
    // Save is always offered; a script without a file gets the saving message.
    item.setEnabled(true);
}
