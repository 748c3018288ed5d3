#include "RemoteJson.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace
{
const char* VoiceStateName(VoiceState state)
{
    switch (state) {
    case VoiceState::Off:
        break;
    case VoiceState::Listening:
        return "listening";
    case VoiceState::Following:
        return "following";
    case VoiceState::Lost:
        return "lost";
    }
    return "off";
}

QJsonValue Figure(const std::optional<double>& figure)
{
    return figure ? QJsonValue(*figure) : QJsonValue();
}

const char* FollowStateName(FollowState link)
{
    switch (link) {
    case FollowState::InStep:
        return "in step";
    case FollowState::Lost:
        return "lost";
    case FollowState::Off:
        break;
    }
    return "off";
}
} // namespace

QByteArray StateJson(const PrompterStatus& status, const QString& scriptName)
{
    const QJsonObject state{
        {"running", status.running},
        {"paused", status.paused},
        {"direction", status.direction == ScrollDirection::Forward ? "forward" : "backward"},
        {"speedValue", status.speedValue},
        {"lineIndex", status.lineIndex},
        {"lineCount", status.lineCount},
        {"paragraph", status.paragraph},
        {"paragraphCount", status.paragraphCount},
        {"elapsedSeconds", status.elapsedSeconds},
        {"remainingSeconds", Figure(status.remainingSeconds)},
        {"rowsPerSecond", Figure(status.rowsPerSecond)},
        {"linesPerMinute", Figure(status.linesPerMinute)},
        {"script", scriptName},
        {"message", status.message},
        {"follow", FollowStateName(status.follow)},
        {"voice", VoiceStateName(status.voice)},
    };
    return QJsonDocument(state).toJson(QJsonDocument::Compact);
}

QByteArray ErrorJson(const QString& message, int status)
{
    QJsonObject error{{"error", message}};
    if (status != 0)
        error.insert("status", status);
    return QJsonDocument(error).toJson(QJsonDocument::Compact);
}
