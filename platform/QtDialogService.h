#pragma once

#include "DialogService.h"

class QPrinter;

// The service that shows real dialogs to the operator.
class QtDialogService : public DialogService
{
  public:
    MessageAnswer ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    void Beep() override;
    int ExecDialog(QDialog& dialog) override;
    std::optional<QString> GetOpenFilePath(QWidget* parent) override;
    std::optional<QString> GetSaveFilePath(QWidget* parent) override;
    std::optional<ColorRef> ChooseColor(QWidget* parent, ColorRef initial) override;
    bool PrintText(QWidget* parent, const QString& documentName, const QString& text) override;

    /// Lays `text` out as plain text in the system's fixed-pitch font and
    /// prints it on `printer`; false when the printer could not be started.
    static bool PrintPlainText(QPrinter& printer, const QString& text);
};
