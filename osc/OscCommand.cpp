#include "OscCommand.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr QByteArrayView kPrefix = "/vellor/";

std::optional<double> Number(const OscArgument& argument)
{
    if (const auto* whole = std::get_if<qint32>(&argument))
        return *whole;
    if (const auto* real = std::get_if<float>(&argument); real && std::isfinite(*real))
        return *real;
    return std::nullopt;
}
// A message's text, and its seconds when a second argument gives them.
std::variant<OscRequest, OscRequestRefusal> WithMessage(OscRequest request,
                                                        const std::vector<OscArgument>& arguments)
{
    const auto* text = arguments.empty() ? nullptr : std::get_if<QByteArray>(&arguments.front());
    const auto* seconds = arguments.size() == 2 ? std::get_if<qint32>(&arguments.back()) : nullptr;
    if (!text || arguments.size() > 2 || (arguments.size() == 2 && !seconds))
        return OscRequestRefusal::WrongArguments;
    request.command.text = QString::fromUtf8(*text);
    request.command.seconds = seconds ? *seconds : 0;
    return request;
}
} // namespace

std::variant<OscRequest, OscRequestRefusal> ReadOscRequest(const OscMessage& message)
{
    using Refusal = OscRequestRefusal;
    if (!message.path.startsWith(kPrefix))
        return Refusal::UnknownAddress;
    const QByteArrayView name = QByteArrayView(message.path).sliced(kPrefix.size());
    const auto& arguments = message.arguments;

    if (name == "subscribe" || name == "unsubscribe") {
        OscRequest request;
        request.kind =
            name == "subscribe" ? OscRequest::Kind::Subscribe : OscRequest::Kind::Unsubscribe;
        if (arguments.empty())
            return request;
        const auto* port = std::get_if<qint32>(&arguments.front());
        if (request.kind == OscRequest::Kind::Unsubscribe || arguments.size() > 1 || !port ||
            *port < 1 || *port > std::numeric_limits<quint16>::max())
            return Refusal::WrongArguments;
        request.port = static_cast<quint16>(*port);
        return request;
    }

    const std::optional<RemoteCommand> command = RemoteCommandNamed(name);
    if (!command)
        return Refusal::UnknownAddress;
    OscRequest request{OscRequest::Kind::Command, *command, std::nullopt};
    if (command->kind == RemoteCommand::Kind::Message)
        return WithMessage(request, arguments);
    const bool speed = command->kind == RemoteCommand::Kind::Speed;
    if (!speed && command->kind != RemoteCommand::Kind::GoTo)
        return arguments.empty() ? std::variant<OscRequest, Refusal>(request)
                                 : Refusal::WrongArguments;
    const std::optional<double> value =
        arguments.size() == 1 ? Number(arguments.front()) : std::nullopt;
    if (!value)
        return Refusal::WrongArguments;
    // The run holds the value within its own range; here it only has to fit.
    const int whole =
        static_cast<int>(std::clamp(std::round(*value), double(std::numeric_limits<int>::min()),
                                    double(std::numeric_limits<int>::max())));
    if (speed) {
        request.command.speedValue = whole;
        return request;
    }
    // A paragraph's number, from 1, and nothing between two.
    if (*value != std::trunc(*value) || whole < 1)
        return Refusal::WrongArguments;
    request.command.paragraph = whole;
    return request;
}
