#include "PresenterMessage.h"

#include "ScrollRunState.h"

bool ShowPresenterMessage(const QString& text, int seconds,
                          std::chrono::steady_clock::time_point now)
{
    QString line = text;
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    line = line.trimmed();
    if (line.size() > kMessageLongest || seconds < 0 || seconds > kMessageLongestSeconds)
        return false;
    PresenterMessage& message = g_runState.message;
    message.text = line;
    message.until.reset();
    if (seconds > 0)
        message.until = now + std::chrono::seconds(seconds);
    ++g_runState.glassChanges;
    return true;
}

QString PresenterMessageAt(std::chrono::steady_clock::time_point now)
{
    const PresenterMessage& message = g_runState.message;
    if (message.until && now >= *message.until)
        return {};
    return message.text;
}
