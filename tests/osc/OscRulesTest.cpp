// What an OSC packet asks for, from its bytes to the request, without sockets.
#include "OscCommand.h"
#include "OscLimits.h"
#include "OscPacket.h"
#include "OscTestPackets.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace
{
QByteArray Bundle(const std::vector<QByteArray>& elements)
{
    QByteArray bundle("#bundle\0\0\0\0\0\0\0\0\1", 16);
    for (const QByteArray& element : elements) {
        char size[4];
        qToBigEndian<qint32>(static_cast<qint32>(element.size()), size);
        bundle.append(size, 4).append(element);
    }
    return bundle;
}

// What the packet comes to: its requests in a few words, or why it is refused.
std::string Outcome(const QByteArray& packet)
{
    const auto read = ReadOscPacket(packet);
    if (const auto* refusal = std::get_if<OscRefusal>(&read))
        return *refusal == OscRefusal::Malformed ? "malformed" : "oversized";
    std::string text;
    for (const OscMessage& message : std::get<std::vector<OscMessage>>(read)) {
        const auto request = ReadOscRequest(message);
        if (const auto* refusal = std::get_if<OscRequestRefusal>(&request)) {
            text += *refusal == OscRequestRefusal::UnknownAddress ? "unknown;" : "wrong;";
            continue;
        }
        const OscRequest& taken = std::get<OscRequest>(request);
        if (taken.kind == OscRequest::Kind::Command &&
            taken.command.kind == RemoteCommand::Kind::Message)
            text += "message " + taken.command.text.toStdString() + ' ' +
                    std::to_string(taken.command.seconds) + ';';
        else if (taken.kind == OscRequest::Kind::Command &&
                 taken.command.kind == RemoteCommand::Kind::GoTo)
            text += "goto " + std::to_string(taken.command.paragraph) + ';';
        else if (taken.kind == OscRequest::Kind::Command)
            text += taken.command.kind == RemoteCommand::Kind::Speed
                        ? "speed " + std::to_string(taken.command.speedValue) + ';'
                        : "command;";
        else
            text += (taken.kind == OscRequest::Kind::Subscribe ? "subscribe " : "unsubscribe ") +
                    std::to_string(taken.port.value_or(0)) + ';';
    }
    return text;
}
} // namespace

TEST(OscRules, TakesTheRemoteCommandsAndRefusesWhatIsNotOneOfThem)
{
    const QByteArray toggle = OscBytes("/vellor/toggle");
    const struct {
        QByteArray packet;
        std::string outcome;
    } rows[] = {
        {toggle, "command;"},
        {OscBytes("/vellor/speed", {2500.4F}), "speed 2500;"},
        {OscBytes("/vellor/speed", {qint32{900}}), "speed 900;"},
        {OscBytes("/vellor/subscribe"), "subscribe 0;"},
        {OscBytes("/vellor/subscribe", {qint32{9001}}), "subscribe 9001;"},
        {OscBytes("/vellor/unsubscribe"), "unsubscribe 0;"},
        {Bundle({toggle, Bundle({OscBytes("/vellor/stop")})}), "command;command;"},
        {OscBytes("/vellor/message", {QByteArray("WRAP")}), "message WRAP 0;"},
        {OscBytes("/vellor/message", {QByteArray("WRAP"), qint32{30}}), "message WRAP 30;"},
        {OscBytes("/vellor/message", {qint32{30}}), "wrong;"},
        {OscBytes("/vellor/message", {QByteArray("WRAP"), 1.5F}), "wrong;"},
        {OscBytes("/vellor/jump"), "unknown;"},
        {OscBytes("/other/toggle"), "unknown;"},
        {OscBytes("/vellor/stop", {qint32{1}}), "wrong;"},
        {OscBytes("/vellor/speed", {QByteArray("fast")}), "wrong;"},
        {OscBytes("/vellor/speed"), "wrong;"},
        {OscBytes("/vellor/subscribe", {qint32{70000}}), "wrong;"},
        {OscBytes("/vellor/subscribe", {1.5F}), "wrong;"},
        {OscBytes("/vellor/goto", {qint32{12}}), "goto 12;"},
        {OscBytes("/vellor/goto", {3.0F}), "goto 3;"},
        {OscBytes("/vellor/goto", {qint32{0}}), "wrong;"},
        {OscBytes("/vellor/goto", {qint32{-2}}), "wrong;"},
        {OscBytes("/vellor/goto", {2.5F}), "wrong;"},
        {OscBytes("/vellor/goto", {QByteArray("3")}), "wrong;"},
        {OscBytes("/vellor/goto"), "wrong;"},
        {OscBytes("/vellor/goto", {qint32{1}, qint32{2}}), "wrong;"},
        {"", "malformed"},
        {"garbage!", "malformed"},
        {toggle.chopped(4), "malformed"},
        {toggle + "xxxx", "malformed"},
        {Bundle({toggle}).chopped(4), "malformed"},
        {QByteArray("#bundle\0\0\0\0\0\0\0\0\1\0\0\0\x40", 20) + toggle, "malformed"},
        {Bundle({Bundle({Bundle({toggle})})}), "oversized"},
        {Bundle(std::vector<QByteArray>(OscLimits::kMaxMessagesPerPacket + 1, toggle)),
         "oversized"},
        {OscBytes("/vellor/toggle", {QByteArray(1100, 'x')}), "oversized"},
        // Arguments that liblo leaves on four-byte boundaries, read as they lie.
        {QByteArray::fromBase64("L3ZlbGxvci8vdmUALHNJcwAAAABBZiwA+mxgAA=="), "unknown;"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Outcome(row.packet), row.outcome) << row.packet.toHex().left(80).toStdString();
}
