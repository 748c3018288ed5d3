#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

// WebSocket frames as a client sends them and as the server answers, read
// without a socket so that every byte a client may send can be tried. Only
// what the phone page and controllers need is taken: text, binary, ping,
// pong and close, in messages no larger than a command may be, with no
// extensions. Anything else fails the connection.
namespace WebSocket
{
enum class Opcode : quint8 {
    Continuation = 0x0,
    Text = 0x1,
    Binary = 0x2,
    Close = 0x8,
    Ping = 0x9,
    Pong = 0xA,
};

// The close codes the server gives.
inline constexpr quint16 kNormalClosure = 1000;
inline constexpr quint16 kProtocolError = 1002;
inline constexpr quint16 kInvalidText = 1007;
inline constexpr quint16 kPolicyViolated = 1008;
inline constexpr quint16 kMessageTooBig = 1009;

struct Event {
    enum class Kind {
        Text,   // a whole text message, valid UTF-8, in `payload`
        Binary, // a whole binary message
        Ping,   // to be answered with a pong carrying `payload`
        Close,  // the client closes, with `closeCode`
        Fail,   // the client broke the protocol; close with `closeCode`
    };
    Kind kind = Kind::Text;
    QByteArray payload;
    quint16 closeCode = kNormalClosure;
};

// Reads the frames of one client's connection. After a Close or a Fail it
// reads nothing more. It holds at most one unfinished frame and one
// unfinished message, each within the size it was made with.
class FrameReader
{
  public:
    /// A reader taking messages of at most `maxMessageBytes`.
    explicit FrameReader(qsizetype maxMessageBytes);

    /// Reads `bytes`, adding an event for each frame they finish.
    void Read(QByteArrayView bytes, std::vector<Event>& events);

    /// Bytes held for a frame or message not yet whole.
    qsizetype HeldBytes() const { return m_frame.size() + m_message.size(); }

  private:
    // How many bytes the frame at the start of `bytes` takes, 0 while not
    // all there; a Fail event for a frame that cannot be taken.
    qsizetype FrameLength(QByteArrayView bytes, std::vector<Event>& events);
    void TakeFrame(QByteArrayView frame, std::vector<Event>& events);
    void Fail(quint16 code, std::vector<Event>& events);
    qsizetype Failed(quint16 code, std::vector<Event>& events); // Fail, then no frame

    qsizetype m_maxMessageBytes;
    QByteArray m_frame;                            // the frame arriving, from its first byte
    QByteArray m_message;                          // the fragments of a message so far
    Opcode m_messageOpcode = Opcode::Continuation; // Continuation: no message open
    bool m_ended = false;
};

/// A frame from the server: whole, unmasked, `payload` of up to 65535 bytes.
QByteArray ServerFrame(Opcode opcode, QByteArrayView payload);

/// A close frame from the server with `code`.
QByteArray CloseFrame(quint16 code);
} // namespace WebSocket
