#pragma once

#include "RemoteCommand.h"
#include "RequestScreen.h"
#include "WebSocketFrames.h"

#include <QByteArray>
#include <QByteArrayView>

#include <variant>
#include <vector>

// The bytes of one connection as the interface reads them, without the
// socket: one request, then nothing more, unless that request opened a
// WebSocket, whose frames follow. What a client sends after its request is
// never parsed or answered, so a second request cannot ride on the first.
class ConnectionReader
{
  public:
    struct Request {
        RequestHead head;
        QByteArray body;
    };
    /// Nothing yet, the whole request, or a refusal that ends the connection.
    using Outcome = std::variant<std::monostate, Request, RemoteError>;

    /// A connection whose first byte has not come yet, whose request may
    /// have a body as large as `bodyLimit` allows.
    explicit ConnectionReader(BodyLimit bodyLimit = {});

    /// Reads what arrived: while the request is arriving, its outcome; once
    /// a WebSocket is open, its frames as `events`; otherwise nothing.
    Outcome Read(QByteArrayView bytes, std::vector<WebSocket::Event>& events);

    /// Turns the connection into a WebSocket after its request; bytes that
    /// came after the request are read as frames.
    void OpenWebSocket(std::vector<WebSocket::Event>& events);

    /// Whether the request line and fields have arrived whole.
    bool HeadArrived() const { return m_headArrived; }
    /// Whether it is still waiting for its request.
    bool WaitsForRequest() const { return m_phase == Phase::Request; }
    /// Bytes held for a request, a frame or a message not yet whole.
    qsizetype HeldBytes() const { return m_buffer.size() + m_frames.HeldBytes(); }

  private:
    enum class Phase { Request, Answered, WebSocket };

    Phase m_phase = Phase::Request;
    QByteArray m_buffer; // the request so far, and after it whatever followed
    bool m_headArrived = false;
    WebSocket::FrameReader m_frames;
    BodyLimit m_bodyLimit;
};
