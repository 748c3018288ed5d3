#pragma once

#include "AudioSource.h"

#include <chrono>

// A WAV file read as if it were the microphone: each piece is handed out
// when it would have been spoken, counted from the first call.
class WavFileSource : public AudioSource
{
  public:
    explicit WavFileSource(std::vector<std::int16_t> samples) : m_samples(std::move(samples)) {}

    bool Next(std::vector<std::int16_t>& piece, std::stop_token stop) override;

  private:
    std::vector<std::int16_t> m_samples;
    std::size_t m_at = 0;
    std::chrono::steady_clock::time_point m_start{};
};
