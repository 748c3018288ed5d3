#include "ConnectionReader.h"

#include "RemoteLimits.h"

ConnectionReader::ConnectionReader(BodyLimit bodyLimit)
    : m_frames(RemoteLimits::kMaxBodyBytes), m_bodyLimit(std::move(bodyLimit))
{
}

ConnectionReader::Outcome ConnectionReader::Read(QByteArrayView bytes,
                                                 std::vector<WebSocket::Event>& events)
{
    switch (m_phase) {
    case Phase::Answered:
        return {};
    case Phase::WebSocket:
        m_frames.Read(bytes, events);
        return {};
    case Phase::Request:
        break;
    }
    m_buffer.append(bytes);
    const RequestScreening screening = ScreenRequest(m_buffer, m_bodyLimit);
    m_headArrived = screening.head.length > 0;
    switch (screening.verdict) {
    case RequestScreening::Verdict::NeedMore:
        return {};
    case RequestScreening::Verdict::Refuse:
        m_phase = Phase::Answered;
        m_buffer.clear();
        return screening.error;
    case RequestScreening::Verdict::Whole:
        break;
    }
    m_phase = Phase::Answered;
    const qsizetype length = screening.head.length + screening.head.bodyLength;
    Request request{screening.head,
                    m_buffer.sliced(screening.head.length, screening.head.bodyLength)};
    // Kept only in case the request opens a WebSocket.
    m_buffer.remove(0, length);
    return request;
}

void ConnectionReader::OpenWebSocket(std::vector<WebSocket::Event>& events)
{
    m_phase = Phase::WebSocket;
    QByteArray rest;
    rest.swap(m_buffer);
    m_frames.Read(rest, events);
}
