#pragma once

#include <QString>

class QDialog;
class QWidget;

enum class MessageButtons { Ok, YesNoCancel };
enum class MessageIcon { Warning, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Every message box and modal dialog of the program goes through this
// service, so that tests answer them instead of a person. The program passes
// a QtDialogService; tests pass a FakeDialogService.
class DialogService {
public:
    virtual ~DialogService() = default;

    /// Shows a message box and returns the button the operator pressed.
    virtual MessageAnswer ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;

    /// Sounds the platform's warning beep.
    virtual void Beep() = 0;

    /// Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& dialog) = 0;
};
