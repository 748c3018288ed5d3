#pragma once

// How the run moves towards the voice, from the gap between where the
// spoken word stands on the picture and the reading place: the run and the
// benchmark's model of it both steer by this rule.

struct VoiceSteer {
    enum class Kind {
        Hold,   // stand still: at the place, or past it
        Scroll, // move forward with the run's steps at speedValue
        Show,   // too far ahead or behind: show the word's line at once
    };
    Kind kind = Kind::Hold;
    int speedValue = 0; // for Scroll: microseconds a row
};

// gapRows: rows the spoken word's moment lies below the reading place
// (negative above it); pitch: rows from one line to the next.
VoiceSteer SteerTowardsVoice(double gapRows, int pitch);

// The same with the run's steps alone, never shown at once: before anyone
// speaks, the run makes ready at the script's first word from wherever the
// text first stands.
VoiceSteer ScrollTowardsVoice(double gapRows, int pitch);
