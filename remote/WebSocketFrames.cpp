#include "WebSocketFrames.h"

#include <QStringDecoder>

namespace WebSocket
{
namespace
{
constexpr quint8 kFin = 0x80;
constexpr quint8 kReserved = 0x70;
constexpr quint8 kOpcodeBits = 0x0F;
constexpr quint8 kMasked = 0x80;
constexpr quint8 kLengthBits = 0x7F;
constexpr quint8 kLength16 = 126;
constexpr quint8 kLength64 = 127;
constexpr qsizetype kMaskBytes = 4;
constexpr qsizetype kMaxControlPayload = 125;

bool IsControl(quint8 opcode)
{
    return (opcode & 0x8) != 0;
}

bool IsKnown(quint8 opcode)
{
    switch (static_cast<Opcode>(opcode)) {
    case Opcode::Continuation:
    case Opcode::Text:
    case Opcode::Binary:
    case Opcode::Close:
    case Opcode::Ping:
    case Opcode::Pong:
        return true;
    }
    return false;
}

bool IsValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

// The codes a client may close with: those the protocol defines for use on
// the wire, and those left to applications.
bool IsSendableCloseCode(quint16 code)
{
    return (code >= 1000 && code <= 1003) || (code >= 1007 && code <= 1014) ||
           (code >= 3000 && code <= 4999);
}

quint8 ByteAt(QByteArrayView bytes, qsizetype at)
{
    return static_cast<quint8>(bytes[at]);
}
} // namespace

FrameReader::FrameReader(qsizetype maxMessageBytes) : m_maxMessageBytes(maxMessageBytes) {}

void FrameReader::Read(QByteArrayView bytes, std::vector<Event>& events)
{
    if (m_ended)
        return;
    m_frame.append(bytes);
    // Frames are taken from `start` on and cut off together at the end, so
    // that many small frames cost no more than one large one.
    qsizetype start = 0;
    while (!m_ended) {
        const QByteArrayView rest = QByteArrayView(m_frame).sliced(start);
        const qsizetype length = FrameLength(rest, events);
        if (length == 0)
            break;
        TakeFrame(rest.first(length), events);
        start += length;
    }
    if (m_ended)
        m_frame.clear();
    else
        m_frame.remove(0, start);
}

qsizetype FrameReader::FrameLength(QByteArrayView bytes, std::vector<Event>& events)
{
    if (bytes.size() < 2)
        return 0;
    const quint8 first = ByteAt(bytes, 0);
    const quint8 second = ByteAt(bytes, 1);
    const quint8 opcode = first & kOpcodeBits;
    if ((first & kReserved) != 0 || !IsKnown(opcode) || (second & kMasked) == 0)
        return Failed(kProtocolError, events);

    qsizetype header = 2;
    quint64 payload = second & kLengthBits;
    if (payload == kLength16 || payload == kLength64) {
        const qsizetype extra = payload == kLength16 ? 2 : 8;
        if (bytes.size() < header + extra)
            return 0;
        payload = 0;
        for (qsizetype i = 0; i < extra; ++i)
            payload = (payload << 8) | ByteAt(bytes, header + i);
        header += extra;
    }
    if (IsControl(opcode)) {
        if ((first & kFin) == 0 || payload > kMaxControlPayload)
            return Failed(kProtocolError, events);
    } else {
        const bool continues = opcode == static_cast<quint8>(Opcode::Continuation);
        const bool messageOpen = m_messageOpcode != Opcode::Continuation;
        if (continues != messageOpen)
            return Failed(kProtocolError, events);
        if (payload > static_cast<quint64>(m_maxMessageBytes - m_message.size()))
            return Failed(kMessageTooBig, events);
    }
    const qsizetype length = header + kMaskBytes + static_cast<qsizetype>(payload);
    return bytes.size() < length ? 0 : length;
}

void FrameReader::TakeFrame(QByteArrayView frame, std::vector<Event>& events)
{
    const quint8 first = ByteAt(frame, 0);
    const quint8 lengthCode = ByteAt(frame, 1) & kLengthBits;
    const qsizetype header = lengthCode == kLength16 ? 4 : lengthCode == kLength64 ? 10 : 2;
    const QByteArrayView mask = frame.sliced(header, kMaskBytes);
    QByteArray payload = frame.sliced(header + kMaskBytes).toByteArray();
    for (qsizetype i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<char>(payload[i] ^ mask[i % kMaskBytes]);

    switch (static_cast<Opcode>(first & kOpcodeBits)) {
    case Opcode::Pong:
        return;
    case Opcode::Ping:
        events.push_back({Event::Kind::Ping, payload, kNormalClosure});
        return;
    case Opcode::Close: {
        if (payload.size() == 1)
            return Fail(kProtocolError, events);
        quint16 code = kNormalClosure;
        if (payload.size() >= 2) {
            code = static_cast<quint16>(ByteAt(payload, 0) << 8 | ByteAt(payload, 1));
            if (!IsSendableCloseCode(code))
                return Fail(kProtocolError, events);
            if (!IsValidUtf8(QByteArrayView(payload).sliced(2)))
                return Fail(kInvalidText, events);
        }
        events.push_back({Event::Kind::Close, {}, code});
        m_ended = true;
        return;
    }
    case Opcode::Text:
    case Opcode::Binary:
        m_messageOpcode = static_cast<Opcode>(first & kOpcodeBits);
        break;
    case Opcode::Continuation:
        break;
    }
    m_message.append(payload);
    if ((first & kFin) == 0)
        return;
    const Opcode opcode = m_messageOpcode;
    QByteArray message;
    message.swap(m_message);
    m_messageOpcode = Opcode::Continuation;
    if (opcode == Opcode::Binary)
        events.push_back({Event::Kind::Binary, message, kNormalClosure});
    else if (IsValidUtf8(message))
        events.push_back({Event::Kind::Text, message, kNormalClosure});
    else
        Fail(kInvalidText, events);
}

qsizetype FrameReader::Failed(quint16 code, std::vector<Event>& events)
{
    Fail(code, events);
    return 0;
}

void FrameReader::Fail(quint16 code, std::vector<Event>& events)
{
    events.push_back({Event::Kind::Fail, {}, code});
    m_ended = true;
    m_message.clear();
}

QByteArray ServerFrame(Opcode opcode, QByteArrayView payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    frame.append(static_cast<char>(kFin | static_cast<quint8>(opcode)));
    if (payload.size() < kLength16) {
        frame.append(static_cast<char>(payload.size()));
    } else {
        frame.append(static_cast<char>(kLength16));
        frame.append(static_cast<char>((payload.size() >> 8) & 0xFF));
        frame.append(static_cast<char>(payload.size() & 0xFF));
    }
    frame.append(payload);
    return frame;
}

QByteArray CloseFrame(quint16 code)
{
    const char payload[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    return ServerFrame(Opcode::Close, QByteArrayView(payload, 2));
}
} // namespace WebSocket
