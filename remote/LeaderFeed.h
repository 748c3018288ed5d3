#pragma once

#include "FollowMessages.h"
#include "ScriptText.h"

#include <QByteArray>

#include <string>
#include <vector>

// What the leader is now, as its followers are told it.
struct LeaderSnapshot {
    FollowKeypoint keypoint;
    FollowLook look;
    const ScriptText* script = nullptr; // the run's script, UTF-8, CR LF after each line
    quint64 scriptEdits = 0;            // grows whenever the script changes but by growing
};

// What one follower is to be sent, from snapshots of its leader: the look
// and a keypoint whenever they change (a keypoint too once it is as old as
// the protocol lets one be), and the script in pieces, fresh after an edit,
// only its new end after it grew, never more than the follower's socket
// has room for.
class LeaderFeed
{
  public:
    /// The messages due at `snapshot`, while `unsent` bytes wait on the socket.
    std::vector<QByteArray> Next(const LeaderSnapshot& snapshot, qint64 unsent);

  private:
    bool KeypointDue(const FollowKeypoint& now) const;
    void AddScriptParts(const LeaderSnapshot& snapshot, qint64 unsent,
                        std::vector<QByteArray>& messages);

    std::optional<FollowKeypoint> m_sent;
    std::optional<FollowLook> m_look;
    std::optional<quint64> m_edits; // of the script being sent
    quint64 m_revision = 0;         // as the follower knows it
    std::size_t m_taken = 0;        // bytes of the leader's script sent
    qint64 m_offset = 0;            // bytes of it as the follower holds them
};

/// Whether the leader following `keypoint` would be a row or more away
/// from `now` at now's time: it jumped, or its real pace wandered.
bool LeaderStrayed(const FollowKeypoint& keypoint, const FollowKeypoint& now);

/// The row `keypoint` puts the leader on at `at`, on the leader's clock.
double RowAt(const FollowKeypoint& keypoint, qint64 at);
