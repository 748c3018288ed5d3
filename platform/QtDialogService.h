#pragma once

#include "DialogService.h"

// The service that shows real dialogs to the operator.
class QtDialogService : public DialogService {
public:
    MessageAnswer ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    void Beep() override;
    int ExecDialog(QDialog& dialog) override;
};
