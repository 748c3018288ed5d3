#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The samples of a 16-bit PCM WAV file as the recogniser takes them: 16 kHz,
// mono.
inline constexpr int kVoiceSampleRate = 16000;

struct WavSamples {
    std::vector<std::int16_t> samples; // kVoiceSampleRate a second
    QString problem;                   // why there are none; empty when read
};

// Reads path: a 16 kHz mono 16-bit PCM WAV file, at most kLongestWavSeconds.
// Anything else gives no samples and a problem the operator can act on.
WavSamples ReadVoiceWav(const QString& path);

inline constexpr int kLongestWavSeconds = 4 * 3600;
