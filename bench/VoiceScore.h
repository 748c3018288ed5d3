#pragma once

#include "ScriptWords.h"
#include "VoiceReadings.h"

#include <vector>

// Scores the voice follower on one reading: the follower hears the audio
// as fast as it can decode it, and a model of the run steers by the same
// rule as the real one (VoiceSteering.h), so that the figures are those of
// the reading line on the picture.
struct VoiceScore {
    double withinOneLine = 0; // share of the reading's time
    double withinTwoLines = 0;
    double lagMedian = 0; // seconds from a line's first word's end to the line at the place
    double lagP95 = 0;
    int wrongJumps = 0;        // moves of the reading line to more than 2 lines off
    double worstRecovery = 0;  // seconds after a skip or repeat to within 3 words
    double pauseDrift = 0;     // lines the reading line moved during a pause
    double processorShare = 0; // of one core, while following
    double audioSeconds = 0;
};

// What it cannot score leaves problem set.
VoiceScore ScoreReading(const std::vector<ScriptWord>& script, const Reading& reading,
                        const std::vector<double>& eventTimes, QString& problem);
