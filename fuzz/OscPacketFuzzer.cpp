// Feeds arbitrary datagrams to the OSC control's packet reading and request
// mapping, as a sender on the network could. Besides surviving any input, a
// packet taken must lie within the limits, and every message in it must
// map to a request or a refusal; a goto taken names a paragraph from 1.

#include "OscCommand.h"
#include "OscLimits.h"
#include "OscPacket.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView packet(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto read = ReadOscPacket(packet);
    if (const auto* messages = std::get_if<std::vector<OscMessage>>(&read)) {
        if (packet.size() > OscLimits::kMaxPacketBytes ||
            messages->size() > static_cast<std::size_t>(OscLimits::kMaxMessagesPerPacket))
            std::abort();
        for (const OscMessage& message : *messages) {
            if (!message.path.startsWith('/'))
                std::abort();
            const auto request = ReadOscRequest(message);
            const auto* taken = std::get_if<OscRequest>(&request);
            if (taken && taken->port && *taken->port == 0)
                std::abort();
            if (taken && taken->command.kind == RemoteCommand::Kind::GoTo &&
                taken->command.paragraph < 1)
                std::abort();
        }
    }
    return 0;
}
