#pragma once

#include <QString>

// Following the speaker's voice: the settings of section [Voice], and what
// the follower is doing during a run.

struct VoiceSettings {
    bool enabled = false; ///< runs follow the voice from their start
    QString device;       ///< the input device's name; empty: the system's default
    QString inputFile;    ///< a 16 kHz mono WAV read at its pace instead; empty: none
};

// What the voice follower of a run is doing.
enum class VoiceState {
    Off,       // not following: turned off, or it could not start
    Listening, // waiting for speech it can place
    Following, // the run keeps pace with the speaker
    Lost,      // speech it cannot place; the run holds still
};
