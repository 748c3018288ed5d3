#pragma once

#include "ColorRef.h"

#include <QString>
#include <optional>

class QDialog;
class QWidget;

enum class MessageButtons { Ok, YesNoCancel, YesNo };
enum class MessageIcon { Warning, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Every message box and modal dialog of the program goes through this
// service, so that tests answer them instead of a person. The program passes
// a QtDialogService; tests pass a FakeDialogService.
class DialogService
{
  public:
    virtual ~DialogService() = default;

    /// Shows a message box and returns the button the operator pressed.
    virtual MessageAnswer ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;

    /// Sounds the platform's warning beep.
    virtual void Beep() = 0;

    /// Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& dialog) = 0;

    // The script file dialogs list "Text Files (*.txt)" and "All Files (*.*)"
    // and start with the name "*.txt".

    /// Asks for an existing script file to open; its full path, or empty when cancelled.
    virtual std::optional<QString> GetOpenFilePath(QWidget* parent) = 0;

    /// Asks for a file to save the script as, confirming before an existing
    /// file is replaced; its full path, or empty when cancelled.
    virtual std::optional<QString> GetSaveFilePath(QWidget* parent) = 0;

    /// Asks for a colour starting at `initial`; empty when cancelled.
    virtual std::optional<ColorRef> ChooseColor(QWidget* parent, ColorRef initial) = 0;

    /// Prints `text` through the print dialog under the job name
    /// `documentName`; false when the operator cancelled or printing failed.
    virtual bool PrintText(QWidget* parent, const QString& documentName, const QString& text) = 0;
};
