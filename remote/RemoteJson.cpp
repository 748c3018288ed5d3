#include "RemoteJson.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray StateJson(const PrompterStatus& status, const QString& scriptName)
{
    const QJsonObject state{
        {"running", status.running},
        {"paused", status.paused},
        {"direction", status.direction == ScrollDirection::Forward ? "forward" : "backward"},
        {"speedValue", status.speedValue},
        {"lineIndex", status.lineIndex},
        {"lineCount", status.lineCount},
        {"elapsedSeconds", status.elapsedSeconds},
        {"remainingSeconds",
         status.remainingSeconds ? QJsonValue(*status.remainingSeconds) : QJsonValue()},
        {"script", scriptName},
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
