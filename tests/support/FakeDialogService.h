#pragma once

#include "DialogService.h"

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Answers the program's dialogs in tests: records every message shown and
// replies with queued answers (Ok, or Cancel for a question, when the queue
// is empty). A dialog run through ExecDialog is handed to the queued handler,
// which may fill it in; the handler's return value is the dialog's result.
// File dialogs and the colour dialog answer from their queues (empty: the
// operator cancelled); a print request is recorded and then cancelled.
class FakeDialogService : public DialogService
{
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
        if (onMessage)
            onMessage();
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

    std::optional<QString> GetOpenFilePath(QWidget*) override
    {
        ++openDialogsShown;
        return TakeFirst(openPaths);
    }

    std::optional<QString> GetSaveFilePath(QWidget*) override
    {
        ++saveDialogsShown;
        return TakeFirst(savePaths);
    }

    std::optional<ColorRef> ChooseColor(QWidget*, ColorRef initial) override
    {
        colorDialogStarts.push_back(initial);
        return TakeFirst(colorAnswers);
    }

    bool PrintText(QWidget*, const QString& documentName, const QString& text) override
    {
        printRequests.push_back({documentName, text});
        return false;
    }

    struct PrintRequest {
        QString documentName;
        QString text;
    };

    std::vector<Message> messages;
    std::function<void()> onMessage; // called as each message is shown
    std::deque<MessageAnswer> answers;
    std::deque<std::function<int(QDialog&)>> dialogHandlers;
    int beeps = 0;
    int dialogsRun = 0;

    std::deque<std::optional<QString>> openPaths; // answers of the open dialog
    std::deque<std::optional<QString>> savePaths; // answers of the save dialog
    std::deque<std::optional<ColorRef>> colorAnswers;
    std::vector<ColorRef> colorDialogStarts; // the colour each colour dialog started at
    std::vector<PrintRequest> printRequests;
    int openDialogsShown = 0;
    int saveDialogsShown = 0;

  private:
    template <typename T> static std::optional<T> TakeFirst(std::deque<std::optional<T>>& queue)
    {
        std::optional<T> answer;
        if (!queue.empty()) {
            answer.swap(queue.front());
            queue.pop_front();
        }
        return answer;
    }
};
