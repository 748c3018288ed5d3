#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <limits>
#include <span>

// Lowers steady background noise (fans, hiss) in 16 kHz speech before the
// decoder hears it. Each 32 ms frame (Hann window, half overlapping) is
// weighed per frequency by how far its power stands above the noise, taken
// as the least smoothed power of the last three seconds, so that speech does
// not raise it. How much it lowers depends on how far the loudest frames of
// the last five seconds stand above the quietest: a quiet recording passes
// as it came, since cleaning costs clean speech's long vowels more than faint
// noise costs the decoder. The output lags the input by kDelaySamples.
class NoiseSuppressor
{
  public:
    static constexpr int kFrame = 512;
    static constexpr int kHop = kFrame / 2;
    // Whole 10 ms frames of the decoder's (Recogniser.cpp).
    static constexpr int kDelaySamples = 640;

    NoiseSuppressor();

    // Cleans in into out, of the same size; out holds the samples heard
    // kDelaySamples earlier.
    void Suppress(std::span<const std::int16_t> in, std::span<std::int16_t> out);

  private:
    static constexpr int kBins = kFrame / 2 + 1;
    // The noise is the least power of this many stretches of kStretchFrames.
    static constexpr int kStretches = 16;
    static constexpr int kStretchFrames = 12;
    // The frames' loudness is weighed over this many stretches.
    static constexpr int kLoudnessStretches = 26;
    using Spectrum = std::array<std::complex<float>, kFrame>;
    using Powers = std::array<float, kBins>;
    struct Loudness {
        float quietestDb = std::numeric_limits<float>::max();
        float loudestDb = std::numeric_limits<float>::lowest();
    };

    void CleanFrame();
    void TrackNoise(const Powers& power);
    void TrackStrength(float levelDb);
    void Transform(Spectrum& values, bool inverse) const;

    std::array<float, kFrame> m_window{};
    std::array<std::complex<float>, kFrame / 2> m_twiddles{};
    std::array<std::uint16_t, kFrame> m_reversed{};

    std::array<float, kFrame> m_input{}; // the last frame of input
    std::array<float, kHop> m_overlap{}; // the next hop's share of this frame
    std::array<float, kHop> m_ready{};   // cleaned, given out one by one
    int m_filled = 0;                    // of the hop being read in
    // Cleaned samples held back on the way out, up to kDelaySamples in all.
    std::array<std::int16_t, kDelaySamples - kFrame> m_held{};
    std::size_t m_heldNext = 0;
    Spectrum m_spectrum{};

    Powers m_smoothed{};
    Powers m_stretchLeast{};
    std::array<Powers, kStretches> m_pastLeast{};
    Powers m_noise{};
    Powers m_lastCleanPower{};
    int m_frames = 0;

    // Of whole frames, in dB of the mean square sample.
    Loudness m_stretchLoudness;
    std::array<Loudness, kLoudnessStretches> m_pastLoudness{}; // oldest first
    float m_speechOverNoiseDb = 0;                             // as last taken
    float m_strength = 0;                                      // of the cleaning, from none to full
};
