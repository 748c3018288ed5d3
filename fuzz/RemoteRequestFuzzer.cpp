// Feeds arbitrary bytes to the remote control's request screening, routing
// and command parsing, as a client on the network could send them. Besides
// surviving any input, a request let through must lie within the limits and
// within the bytes received, and a refusal must carry one of the statuses
// the interface gives.

#include "RemoteCommand.h"
#include "RemoteLimits.h"
#include "RemoteRoutes.h"
#include "RequestScreen.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
void Require(bool holds)
{
    if (!holds)
        std::abort();
}

bool IsInterfaceStatus(int status)
{
    for (const int known : {400, 401, 404, 405, 413})
        if (status == known)
            return true;
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView received(reinterpret_cast<const char*>(data),
                                  static_cast<qsizetype>(size));
    const RequestScreening screening = ScreenRequest(received);
    switch (screening.verdict) {
    case RequestScreening::Verdict::NeedMore:
        Require(received.size() <= RemoteLimits::kMaxHeadBytes + RemoteLimits::kMaxBodyBytes);
        break;
    case RequestScreening::Verdict::Refuse:
        Require(screening.error.status == 400 || screening.error.status == 413);
        break;
    case RequestScreening::Verdict::Whole: {
        const RequestHead& head = screening.head;
        Require(head.length <= RemoteLimits::kMaxHeadBytes);
        Require(head.bodyLength <= RemoteLimits::kMaxBodyBytes);
        Require(head.length + head.bodyLength <= received.size());
        const auto route =
            RouteRequest({head.method, head.path, head.IsUpgrade(), head.Field("authorization"),
                          QueryValue(head.query, "token"), "00112233445566778899aabbccddeeff"});
        if (const auto* refusal = std::get_if<RemoteError>(&route))
            Require(IsInterfaceStatus(refusal->status));
        const auto command = ParseRemoteCommand(received.sliced(head.length, head.bodyLength));
        if (const auto* refusal = std::get_if<RemoteError>(&command))
            Require(refusal->status == 400);
        break;
    }
    }
    // The same bytes taken as a WebSocket message.
    const auto command = ParseRemoteCommand(received);
    if (const auto* refusal = std::get_if<RemoteError>(&command))
        Require(refusal->status == 400 && !refusal->message.isEmpty());
    return 0;
}
