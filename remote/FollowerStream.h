#pragma once

#include "ClockOffset.h"
#include "FollowMessages.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a follower has from its leader, message by message: the latest
// place, the look, the script as it comes in pieces, the clock offset.
// Everything a leader sends is checked, and what it may make the follower
// hold is bounded: one script arriving and one whole, each within the
// size a script may have.
class FollowerStream
{
  public:
    enum class Change { None, Keypoint, Look, Script, Clock };
    struct Taken {
        Change change = Change::None;
        std::optional<QString> problem; // the message is refused: what to tell the operator
    };

    /// Takes one text message, heard at `heard` on the follower's clock.
    Taken Take(QByteArrayView message, qint64 heard);

    /// The latest place, none before the first.
    const std::optional<FollowKeypoint>& Keypoint() const { return m_keypoint; }
    /// The look, none before it came.
    const std::optional<FollowLook>& Look() const { return m_look; }
    /// The latest whole script, none before one came whole.
    const std::optional<QByteArray>& Script() const { return m_script; }
    /// Grows with every change of the whole script.
    quint64 ScriptChanges() const { return m_scriptChanges; }
    /// The round trips so far.
    const ClockOffset& Clock() const { return m_clock; }
    /// Whether a run can be shown: a look, a script and a place have come.
    bool Ready() const { return m_look && m_script && m_keypoint; }
    /// Bytes of script held, whole and arriving.
    qsizetype HeldBytes() const;

  private:
    Taken TakeKeypoint(const FollowKeypoint& keypoint);
    Taken TakeScriptPart(FollowScriptPart part);

    std::optional<FollowKeypoint> m_keypoint;
    std::optional<FollowLook> m_look;
    std::optional<QByteArray> m_script;
    quint64 m_scriptRevision = 0;
    quint64 m_scriptChanges = 0;
    std::optional<QByteArray> m_arriving; // a new revision not yet whole
    quint64 m_arrivingRevision = 0;
    ClockOffset m_clock;
};
