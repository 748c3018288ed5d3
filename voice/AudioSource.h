#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <stop_token>
#include <vector>

struct VoiceSettings;

// 16 kHz mono audio for the voice follower, a piece at a time.
class AudioSource
{
  public:
    virtual ~AudioSource() = default;

    // Waits for the next piece of about 100 ms and puts it in piece; false
    // when the audio has ended or stop is asked.
    virtual bool Next(std::vector<std::int16_t>& piece, std::stop_token stop) = 0;
};

// The audio the settings name: the input file at its real pace when one is
// set, else the microphone. None, with problem set for the operator, when it
// cannot be opened.
std::unique_ptr<AudioSource> OpenAudioSource(const VoiceSettings& settings, QString& problem);

// The samples in a piece: 100 ms.
inline constexpr int kVoicePieceSamples = 1600;
