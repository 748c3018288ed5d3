#include "OscPacket.h"

#include "OscLimits.h"

#include <lo/lo.h>

#include <QtEndian>

#include <cstring>
#include <memory>
#include <optional>
#include <type_traits>

namespace
{
constexpr QByteArrayView kBundleTag("#bundle\0", 8);
constexpr qsizetype kTimeTagBytes = 8;
constexpr qsizetype kSizeBytes = 4;

struct MessageFree {
    void operator()(lo_message message) const { lo_message_free(message); }
};
using OwnedMessage = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;
using Messages = std::vector<OscMessage>;

template <typename Number> Number Copied(const char* bytes)
{
    Number number{};
    std::memcpy(&number, bytes, sizeof number);
    return number;
}

std::optional<OscRefusal> ReadMessage(QByteArrayView bytes, Messages& messages)
{
    if (messages.size() >= static_cast<std::size_t>(OscLimits::kMaxMessagesPerPacket))
        return OscRefusal::Oversized;
    // liblo is given memory of its own to read.
    QByteArray copy = bytes.toByteArray();
    int result = 0;
    const OwnedMessage decoded(
        lo_message_deserialise(copy.data(), static_cast<std::size_t>(copy.size()), &result));
    const char* path = decoded ? lo_get_path(copy.data(), copy.size()) : nullptr;
    if (!decoded || path == nullptr || *path != '/')
        return OscRefusal::Malformed;
    OscMessage message{path, {}};
    const char* types = lo_message_get_types(decoded.get());
    lo_arg** values = lo_message_get_argv(decoded.get());
    for (int i = 0; i < lo_message_get_argc(decoded.get()); ++i) {
        // liblo aligns arguments to four bytes only, so they are copied out
        // rather than read through its union.
        const auto* value = reinterpret_cast<const char*>(values[i]);
        switch (types[i]) {
        case LO_INT32:
            message.arguments.emplace_back(Copied<qint32>(value));
            break;
        case LO_FLOAT:
            message.arguments.emplace_back(Copied<float>(value));
            break;
        case LO_STRING:
            message.arguments.emplace_back(QByteArray(value));
            break;
        default:
            message.arguments.emplace_back(std::monostate{});
            break;
        }
    }
    messages.push_back(std::move(message));
    return std::nullopt;
}

std::optional<OscRefusal> ReadElement(QByteArrayView bytes, int depth, Messages& messages);

// A bundle: its tag, a time tag, then elements, each its size and its bytes.
std::optional<OscRefusal> ReadBundle(QByteArrayView bytes, int depth, Messages& messages)
{
    if (depth > OscLimits::kMaxBundleDepth)
        return OscRefusal::Oversized;
    if (bytes.size() < kBundleTag.size() + kTimeTagBytes)
        return OscRefusal::Malformed;
    qsizetype at = kBundleTag.size() + kTimeTagBytes;
    while (at < bytes.size()) {
        if (bytes.size() - at < kSizeBytes)
            return OscRefusal::Malformed;
        const qint32 size = qFromBigEndian<qint32>(bytes.data() + at);
        at += kSizeBytes;
        if (size <= 0 || size % 4 != 0 || size > bytes.size() - at)
            return OscRefusal::Malformed;
        if (const auto refusal = ReadElement(bytes.sliced(at, size), depth + 1, messages))
            return refusal;
        at += size;
    }
    return std::nullopt;
}

std::optional<OscRefusal> ReadElement(QByteArrayView bytes, int depth, Messages& messages)
{
    if (bytes.startsWith(kBundleTag))
        return ReadBundle(bytes, depth, messages);
    return ReadMessage(bytes, messages);
}
} // namespace

std::variant<std::vector<OscMessage>, OscRefusal> ReadOscPacket(QByteArrayView packet)
{
    if (packet.size() > OscLimits::kMaxPacketBytes)
        return OscRefusal::Oversized;
    if (packet.isEmpty() || packet.size() % 4 != 0)
        return OscRefusal::Malformed;
    Messages messages;
    if (const auto refusal = ReadElement(packet, 1, messages))
        return *refusal;
    return messages;
}

QByteArray EncodeOscMessage(const OscMessage& message)
{
    const OwnedMessage encoded(lo_message_new());
    for (const OscArgument& argument : message.arguments) {
        if (const auto* number = std::get_if<qint32>(&argument))
            lo_message_add_int32(encoded.get(), *number);
        else if (const auto* real = std::get_if<float>(&argument))
            lo_message_add_float(encoded.get(), *real);
        else if (const auto* text = std::get_if<QByteArray>(&argument))
            lo_message_add_string(encoded.get(), text->constData());
    }
    std::size_t size = 0;
    void* bytes = lo_message_serialise(encoded.get(), message.path.constData(), nullptr, &size);
    const QByteArray result(static_cast<const char*>(bytes), static_cast<qsizetype>(size));
    std::free(bytes);
    return result;
}
