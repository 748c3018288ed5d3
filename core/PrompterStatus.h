#pragma once

#include "ScrollRunState.h"

#include <QString>

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
    double elapsedSeconds = 0;                            // time spent moving in this run
    std::optional<double> remainingSeconds;               // at this speed; none while unknown
    std::optional<double> rowsPerSecond;                  // at this speed; none at speed value 0
    std::optional<double> linesPerMinute;                 // likewise, or without lines yet
    QString message;                                      // on the glass for the presenter
};

// The run's status as of now; a run that is not on the screen shows as
// stopped with the figures it ended with. The line being read is the one at
// the reading cue, or at the top of the picture without it; the time left
// is what moving forward to the end of the script takes at the present
// speed, paused or not.
PrompterStatus CurrentPrompterStatus();

// The rows a second that a speed value gives; none for speed value 0, at
// which the run steps as fast as its loop goes.
std::optional<double> RowsPerSecond(int speedValue);
