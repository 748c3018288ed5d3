#pragma once

#include "ScrollRunState.h"

#include <QString>

#include <cstdint>
#include <optional>

// What a run looks like from outside it, for views that follow the run
// without taking part in it: the operator's preview, the remote control.
struct PrompterStatus {
    bool running = false;                                 // a run is on the screen
    bool paused = false;                                  // the text stands still
    ScrollDirection direction = ScrollDirection::Forward; // the way the text moves
    int speedValue = 0;                                   // live speed value, 0..32000
    int lineIndex = 0;                                    // the line being read, from 0
    int lineCount = 0;                                    // lines in the run's script
    int paragraph = 0;             // the paragraph being read, from 1; 0 without lines
    int paragraphCount = 0;        // paragraphs in the run's script
    double elapsedSeconds = 0;     // time spent moving in this run
    double sinceFirstMoved = 0;    // time since the text first moved in this run, pauses too
    std::optional<int> typedStory; // the story number being typed, while it stands
    std::int64_t rowsLeft = 0;     // rows to move forward to the end of the script
    std::optional<double> remainingSeconds; // at this pace; none while unknown
    std::optional<double> rowsPerSecond;    // the pace; none while unknown
    std::optional<double> linesPerMinute;   // likewise, or without lines yet
    bool paceMeasured = false;              // the pace is the run's own, not the speed value's
    QString message;                        // on the glass for the presenter
    FollowState follow = FollowState::Off;  // this prompter's link to a leader it follows
    VoiceState voice = VoiceState::Off;     // what the voice follower is doing
};

// The run's status as of now; a run that is not on the screen shows as
// stopped with the figures it ended with. The line being read is the one at
// the reading cue, or at the top of the picture without it. The pace is
// what the run has really moved over its last few seconds of moving
// (PaceMeter.h), or, before that is known, what the speed value asks for
// (at speed value 0, which asks for no figure, a tenth of a second will do);
// the time left is what moving forward to the end of the script takes at
// that pace, paused or not.
PrompterStatus CurrentPrompterStatus();

// The rows a second that a speed value gives; none for speed value 0, at
// which the run steps as fast as its loop goes.
std::optional<double> RowsPerSecond(int speedValue);

// The rows from the top of one line to the top of the next: its height and
// the gap row.
int LinePitch();
