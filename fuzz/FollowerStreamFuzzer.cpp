// Feeds a whole leader's stream to a follower's reading of it, as a leader
// on the network could send it: its text messages, one after another, cut
// apart at each 0xFF byte (which UTF-8 never holds). Besides surviving any
// stream, the follower must hold no more script than the limits allow,
// take no place past the end of the script it was told of, tell a reason
// for every message it refuses, and be ready only with a look, a script
// and a place.

#include "FollowerStream.h"
#include "RemoteLimits.h"
#include "Surface.h"

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

void RequireSound(const FollowerStream& stream, const FollowerStream::Taken& taken)
{
    Require(!taken.problem ||
            (!taken.problem->isEmpty() && taken.change == FollowerStream::Change::None));
    Require(stream.HeldBytes() <= 2 * RemoteLimits::kMaxScriptBytes);
    if (const auto& keypoint = stream.Keypoint()) {
        Require(stream.Look().has_value());
        Require(keypoint->row >= -Surface::kHeight - stream.Look()->pitch &&
                keypoint->row <= static_cast<qint64>(keypoint->lineCount) * stream.Look()->pitch);
        Require(keypoint->rowsPerSecond >= 0);
    }
    Require(stream.Ready() == (stream.Look() && stream.Script() && stream.Keypoint()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FollowerStream stream;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qint64 heard = 0;
    qsizetype from = 0;
    while (from <= bytes.size()) {
        qsizetype end = bytes.indexOf('\xFF', from);
        if (end < 0)
            end = bytes.size();
        heard += 1000;
        RequireSound(stream, stream.Take(bytes.sliced(from, end - from), heard));
        from = end + 1;
    }
    return 0;
}
