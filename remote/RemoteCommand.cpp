#include "RemoteCommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace
{
struct NamedCommand {
    const char* name;
    RemoteCommand::Kind kind;
    PrompterCommand prompter;
};

using Kind = RemoteCommand::Kind;

// The one table of command names; the right button's rule is `reverse`,
// the keys' F and S are `faster` and `slower`.
const std::array<NamedCommand, 14> kCommands{{
    {"start", Kind::Start, PrompterCommand::Stop},
    {"stop", Kind::Prompter, PrompterCommand::Stop},
    {"pause", Kind::Prompter, PrompterCommand::Pause},
    {"resume", Kind::Prompter, PrompterCommand::Resume},
    {"toggle", Kind::Prompter, PrompterCommand::TogglePause},
    {"faster", Kind::Prompter, PrompterCommand::Faster},
    {"slower", Kind::Prompter, PrompterCommand::Slower},
    {"reverse", Kind::Prompter, PrompterCommand::Reverse},
    {"speed", Kind::Speed, PrompterCommand::Stop},
    {"next", Kind::Prompter, PrompterCommand::NextParagraph},
    {"previous", Kind::Prompter, PrompterCommand::PreviousParagraph},
    {"home", Kind::Prompter, PrompterCommand::JumpToStart},
    {"message", Kind::Message, PrompterCommand::Stop},
    {"goto", Kind::GoTo, PrompterCommand::GoToParagraph},
}};

RemoteError BadRequest(const char* message)
{
    return {400, QString::fromLatin1(message)};
}

// A value that is a whole number, held where an int holds it: the run holds
// it within its own range.
std::optional<int> WholeNumber(const QJsonValue& value)
{
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || !std::isfinite(number) || number != std::trunc(number))
        return std::nullopt;
    return static_cast<int>(std::clamp(number, double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

std::variant<RemoteCommand, RemoteError> WithMessage(RemoteCommand command,
                                                     const QJsonObject& object)
{
    const QJsonValue text = object.value(QLatin1String("text"));
    if (!text.isString())
        return BadRequest("The message needs its text as a string.");
    command.text = text.toString();
    const QJsonValue seconds = object.value(QLatin1String("seconds"));
    if (seconds.isUndefined())
        return command;
    const std::optional<int> number = WholeNumber(seconds);
    if (!number)
        return BadRequest("The message's seconds must be a whole number.");
    command.seconds = *number;
    return command;
}
} // namespace

std::optional<QJsonObject> JsonObject(QByteArrayView json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

std::optional<RemoteCommand> RemoteCommandNamed(QByteArrayView name)
{
    const auto named = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const NamedCommand& c) { return name == c.name; });
    if (named == kCommands.end())
        return std::nullopt;
    RemoteCommand command;
    command.kind = named->kind;
    command.prompter = named->prompter;
    return command;
}

std::variant<RemoteCommand, RemoteError> ParseRemoteCommand(QByteArrayView json)
{
    const std::optional<QJsonObject> read = JsonObject(json);
    if (!read)
        return BadRequest("The body is not a JSON object.");
    const QJsonObject& object = *read;
    const QJsonValue name = object.value(QLatin1String("command"));
    if (!name.isString())
        return BadRequest("The command is missing or is not a string.");
    const std::optional<RemoteCommand> named = RemoteCommandNamed(name.toString().toUtf8());
    if (!named)
        return BadRequest("Unknown command.");
    RemoteCommand command = *named;
    if (command.kind == Kind::Message)
        return WithMessage(command, object);
    const std::optional<int> value = WholeNumber(object.value(QLatin1String("value")));
    if (command.kind == Kind::Speed) {
        if (!value)
            return BadRequest("The speed needs a whole number as its value.");
        command.speedValue = *value;
    } else if (command.kind == Kind::GoTo) {
        if (!value || *value < 1)
            return BadRequest("The goto needs a paragraph's number, from 1, as its value.");
        command.paragraph = *value;
    }
    return command;
}

std::variant<RemoteCommand, RemoteError> ParseRemoteMessage(QByteArrayView json)
{
    const std::optional<QJsonObject> object = JsonObject(json);
    if (!object)
        return BadRequest("The body is not a JSON object.");
    return WithMessage(*RemoteCommandNamed("message"), *object);
}
