#pragma once

#include "ColorRef.h"
#include "ScrollRunState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>

// The messages between a leader and the prompters that follow it, on the
// remote control's WebSocket. A row is how far the top of the script's
// first line lies above the top of the picture; times are microseconds of
// the leader's steady clock (or, for a clock question, the follower's).

/// Where the leader's text is at one moment, and how it moves from there.
struct FollowKeypoint {
    qint64 at = 0;  // the leader's clock
    qint64 row = 0; // the leader's row then
    double rowsPerSecond = 0;
    ScrollDirection direction = ScrollDirection::Forward;
    bool paused = true;
    bool running = false;
    int lineCount = 0; // the leader's lines then
};

/// What shapes the leader's lines.
struct FollowLook {
    QString face;
    int points = 0;
    int weight = 0;
    ColorRef text = 0;
    ColorRef back = 0;
    int pitch = 1; // rows from the top of one line to the next
};

/// A piece of the leader's script: its bytes from `offset` of the text of
/// `revision`; `last` once the whole text has come.
struct FollowScriptPart {
    quint64 revision = 0;
    qint64 offset = 0;
    QByteArray text;
    bool last = false;
};

/// The leader's answer to a clock question sent at `sent` (follower's clock).
struct FollowClockAnswer {
    qint64 sent = 0;
    qint64 leader = 0;
};

QByteArray KeypointJson(const FollowKeypoint& keypoint);
QByteArray LookJson(const FollowLook& look);
QByteArray ScriptPartJson(const FollowScriptPart& part);
QByteArray ClockAnswerJson(const FollowClockAnswer& answer);

/// What a follower asks of its leader: to be followed, or the leader's time.
struct FollowerAsk {
    enum class Kind { Follow, Clock };
    Kind kind = Kind::Follow;
    qint64 sent = 0; // a clock question's time on the follower's clock
};

QByteArray FollowerAskJson(const FollowerAsk& ask);

/// A follower's question, or none for a message that is not one (a command,
/// perhaps, or nonsense, which the commands' own parsing refuses).
std::optional<FollowerAsk> ParseFollowerAsk(QByteArrayView message);

/// A message of the remote's that the follower has no use for (a state).
struct LeaderChatter {
};
/// A refusal the leader sent.
struct LeaderRefusal {
    QString message;
};
/// A message that breaks the protocol, with what is wrong with it.
struct LeaderNonsense {
    QString reason;
};
using LeaderMessage = std::variant<FollowKeypoint, FollowLook, FollowScriptPart, FollowClockAnswer,
                                   LeaderChatter, LeaderRefusal, LeaderNonsense>;

/// Reads one text message from a leader; every field is checked for range.
LeaderMessage ParseLeaderMessage(QByteArrayView message);
