#pragma once

#include "FollowAddress.h"
#include "FollowerStream.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWebSocket>

#include <optional>

// A follower's link to its leader: an ordinary client of the leader's
// remote control, on its WebSocket with the token. It asks to be followed,
// times round trips for the clock offset, and takes what the leader sends
// into its stream. A leader that falls silent (or never answers), closes,
// or sends what the protocol does not allow is lost; the link tells why
// and tries again shortly, for as long as it lives.
class FollowLink : public QObject
{
    Q_OBJECT

  public:
    /// A link to `target`, not open yet.
    explicit FollowLink(FollowTarget target, QObject* parent = nullptr);
    ~FollowLink() override;

    /// Opens the link; it then keeps itself open.
    void Open();

    /// Whether the leader is heard now.
    bool InStep() const;
    /// What the leader has sent.
    const FollowerStream& Stream() const { return m_stream; }
    /// The leader's clock now, in microseconds, or none before a round trip.
    std::optional<qint64> LeaderNow() const;
    /// The last thing that went wrong, empty while nothing has.
    const QString& Problem() const { return m_problem; }

    /// The follower's clock, in microseconds.
    static qint64 Now();

  signals:
    /// A message changed what the stream holds.
    void changed(FollowerStream::Change change);
    /// The link was lost, and `problem` says why.
    void lost(const QString& problem);

  private:
    void Connect();
    void OnConnected();
    void OnText(const QString& message);
    void AskTheTime();
    void Lose(const QString& problem);

    FollowTarget m_target;
    QWebSocket m_socket;
    FollowerStream m_stream;
    QTimer m_clockTimer;
    QTimer m_retry;
    QElapsedTimer m_heard;
    QString m_problem;
    bool m_open = false;
};
