#pragma once

#include "DialogService.h"

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

// Answers the program's dialogs in tests: records every message shown and
// replies with queued answers (Ok, or Cancel for a question, when the queue
// is empty). A dialog run through ExecDialog is handed to the queued handler,
// which may fill it in; the handler's return value is the dialog's result.
class FakeDialogService : public DialogService {
public:
    struct Message {
        QString text;
        QString caption;
        MessageButtons buttons;
        MessageIcon icon;
    };

    MessageAnswer ShowMessage(QWidget*, const QString& text, const QString& caption,
                              MessageButtons buttons, MessageIcon icon) override
    {
        messages.push_back({text, caption, buttons, icon});
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }

    void Beep() override { ++beeps; }

    int ExecDialog(QDialog& dialog) override
    {
        ++dialogsRun;
        if (dialogHandlers.empty())
            return QDialog::Rejected;
        auto handler = std::move(dialogHandlers.front());
        dialogHandlers.pop_front();
        return handler(dialog);
    }

    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;
    std::deque<std::function<int(QDialog&)>> dialogHandlers;
    int beeps = 0;
    int dialogsRun = 0;
};
