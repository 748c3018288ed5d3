#pragma once

#include "Recogniser.h"
#include "ScriptWords.h"
#include "VoicePace.h"
#include "VoicePlacement.h"
#include "VoiceSettings.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The decoder, the placement rules and the speaker's pace together: audio
// in, the script word being spoken and the follower's state out. The
// follower's thread runs one; so does the benchmark, faster than the
// audio's pace.
class VoiceListener
{
  public:
    // Loads the decoder for the script's words; throws RecogniserError.
    explicit VoiceListener(const std::vector<ScriptWord>& words);

    // Hears one piece of 16 kHz mono audio.
    void Hear(std::span<const std::int16_t> piece);

    // The script word being spoken; -1 before the first.
    int Placed() const { return m_shown; }
    // Listening, following or lost, as of the audio heard.
    VoiceState State() const;
    // The speaker goes on before word: somebody else moved the run.
    void PlaceBefore(int word);
    // The seconds of audio heard.
    double Seconds() const;

  private:
    Recogniser m_recogniser;
    VoicePlacement m_placement;
    VoicePace m_pace;
    int m_shown = -1;
    std::int64_t m_samples = 0;
    double m_movedAt = -1e9;
};
