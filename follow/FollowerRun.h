#pragma once

#include "FollowLink.h"
#include "FollowTrack.h"
#include "ScrollRun.h"

#include <QPointer>
#include <QScreen>

#include <chrono>
#include <optional>

// What a follower keeps of its own while it shows its leader's run.
struct FollowerOwn {
    bool useMonitor2 = false;
    bool mirror = false;
    ReadingCue readingCue;
    GlassLayout glass;
    QPointer<QScreen> operatorScreen; // none: no preview
};

// Follows a leader from the operator's asking until Esc: waits for what a
// run needs, then shows the leader's script in the leader's look on this
// prompter's own screen, mirror and glass, and at every refresh puts the
// picture on the row the leader is on by its clock. A lost leader is gone
// on from at its last pace, and marked so, while the link tries again.
class FollowerRun
{
  public:
    /// Follows `target` until the operator ends it; the reason, for the
    /// operator, when the following could not begin or ended on a problem.
    static std::optional<QString> Follow(const FollowTarget& target, const FollowerOwn& own);

  private:
    FollowerRun(FollowLink& link, const FollowerOwn& own);
    // One run in the leader's present look; false when the look changed and
    // a new run is to begin.
    bool RunOnce();
    std::chrono::steady_clock::time_point Pilot(std::chrono::steady_clock::time_point now);
    void TakeScript();

    FollowLink& m_link;
    const FollowerOwn& m_own;
    std::optional<FollowTrack> m_track; // for the present run's screen
    quint64 m_scriptChanges = 0;
    std::chrono::nanoseconds m_frame{};
    FollowLook m_look;
    bool m_lookChanged = false;
};
