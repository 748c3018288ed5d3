#include "NoiseSuppressor.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace
{
// How fast the power followed for the noise estimate forgets (per frame).
constexpr float kPowerSmoothing = 0.85f;
// The least of smoothed power lies below the noise's mean; this lifts it.
constexpr float kLeastToMean = 1.5f;
// Speech weighed by its last frame too, which keeps lone noisy bins from
// chirping ("musical noise").
constexpr float kPriorWeight = 0.98f;
// No bin is lowered by more than this (28 dB): a lower floor leaves too
// little of the quieter phones for the decoder; a higher one leaves loud
// noise in which it hears words that were never said.
constexpr float kLeastGain = 0.04f;
// Speech whose loudest frames stand this far above the noise passes
// untouched; this near, it is fully cleaned, and in between in proportion.
constexpr float kUntouchedDb = 25;
constexpr float kFullyCleanedDb = 12;
// The distance of speech from noise is taken anew only once it has moved
// this far, so that the strength does not flutter.
constexpr float kDistanceSlackDb = 2;
constexpr float kSampleLimit = std::numeric_limits<std::int16_t>::max();
} // namespace

NoiseSuppressor::NoiseSuppressor()
{
    // A periodic Hann window sums to one at half overlap, so frames add back
    // without a synthesis window.
    for (int i = 0; i < kFrame; ++i)
        m_window[i] = 0.5f - 0.5f * std::cos(2 * std::numbers::pi_v<float> * i / kFrame);
    for (int i = 0; i < kFrame / 2; ++i)
        m_twiddles[i] = std::polar(1.0f, -2 * std::numbers::pi_v<float> * i / kFrame);
    const int bits = std::countr_zero(static_cast<unsigned>(kFrame));
    for (int i = 0; i < kFrame; ++i) {
        int reversed = 0;
        for (int bit = 0; bit < bits; ++bit)
            reversed |= ((i >> bit) & 1) << (bits - 1 - bit);
        m_reversed[i] = static_cast<std::uint16_t>(reversed);
    }
    m_stretchLeast.fill(std::numeric_limits<float>::max());
    for (Powers& least : m_pastLeast)
        least.fill(std::numeric_limits<float>::max());
}

void NoiseSuppressor::Suppress(std::span<const std::int16_t> in, std::span<std::int16_t> out)
{
    for (std::size_t i = 0; i < in.size(); ++i) {
        const float cleaned = std::round(m_ready[m_filled]);
        out[i] = std::exchange(m_held[m_heldNext], static_cast<std::int16_t>(std::clamp(
                                                       cleaned, -kSampleLimit - 1, kSampleLimit)));
        m_heldNext = (m_heldNext + 1) % m_held.size();
        m_input[kHop + m_filled] = in[i];
        if (++m_filled == kHop) {
            CleanFrame();
            std::copy(m_input.begin() + kHop, m_input.end(), m_input.begin());
            m_filled = 0;
        }
    }
}

// Iterative radix-2; the inverse leaves the scaling to the caller.
void NoiseSuppressor::Transform(Spectrum& values, bool inverse) const
{
    for (int i = 0; i < kFrame; ++i)
        if (i < m_reversed[i])
            std::swap(values[i], values[m_reversed[i]]);
    for (int span = 2; span <= kFrame; span *= 2) {
        const int stride = kFrame / span;
        for (int start = 0; start < kFrame; start += span)
            for (int k = 0; k < span / 2; ++k) {
                const std::complex<float> twiddle =
                    inverse ? std::conj(m_twiddles[k * stride]) : m_twiddles[k * stride];
                const std::complex<float> odd = values[start + k + span / 2] * twiddle;
                values[start + k + span / 2] = values[start + k] - odd;
                values[start + k] += odd;
            }
    }
}

void NoiseSuppressor::TrackNoise(const Powers& power)
{
    for (int k = 0; k < kBins; ++k) {
        m_smoothed[k] = m_frames == 0
                            ? power[k]
                            : kPowerSmoothing * m_smoothed[k] + (1 - kPowerSmoothing) * power[k];
        m_stretchLeast[k] = std::min(m_stretchLeast[k], m_smoothed[k]);
        float least = m_stretchLeast[k];
        for (const Powers& past : m_pastLeast)
            least = std::min(least, past[k]);
        m_noise[k] = kLeastToMean * least;
    }
    if (++m_frames % kStretchFrames == 0) {
        std::rotate(m_pastLeast.begin(), m_pastLeast.begin() + 1, m_pastLeast.end());
        m_pastLeast.back() = m_stretchLeast;
        m_stretchLeast.fill(std::numeric_limits<float>::max());
    }
}

void NoiseSuppressor::TrackStrength(float levelDb)
{
    m_stretchLoudness.quietestDb = std::min(m_stretchLoudness.quietestDb, levelDb);
    m_stretchLoudness.loudestDb = std::max(m_stretchLoudness.loudestDb, levelDb);
    Loudness lately = m_stretchLoudness;
    for (const Loudness& past : m_pastLoudness) {
        lately.quietestDb = std::min(lately.quietestDb, past.quietestDb);
        lately.loudestDb = std::max(lately.loudestDb, past.loudestDb);
    }
    if (m_frames % kStretchFrames == 0) {
        std::rotate(m_pastLoudness.begin(), m_pastLoudness.begin() + 1, m_pastLoudness.end());
        m_pastLoudness.back() = m_stretchLoudness;
        m_stretchLoudness = {};
    }
    const float distance = lately.loudestDb - lately.quietestDb;
    m_speechOverNoiseDb =
        std::clamp(m_speechOverNoiseDb, distance - kDistanceSlackDb, distance + kDistanceSlackDb);
    m_strength = std::clamp((kUntouchedDb - m_speechOverNoiseDb) / (kUntouchedDb - kFullyCleanedDb),
                            0.0f, 1.0f);
}

void NoiseSuppressor::CleanFrame()
{
    float sum = 0;
    for (int i = 0; i < kFrame; ++i) {
        sum += m_input[i] * m_input[i];
        m_spectrum[i] = m_input[i] * m_window[i];
    }
    Transform(m_spectrum, false);
    Powers power;
    for (int k = 0; k < kBins; ++k)
        power[k] = std::norm(m_spectrum[k]);
    const bool first = m_frames == 0;
    TrackNoise(power);
    // Nothing is quieter than the samples' own rounding.
    TrackStrength(10 * std::log10(std::max(sum / kFrame, 1.0f)));
    for (int k = 0; k < kBins; ++k) {
        // Wiener gain from the share of speech in the bin, judged from this
        // frame and the last one's cleaned power.
        const float noise = std::max(m_noise[k], 1e-3f);
        const float above = std::max(power[k] / noise - 1, 0.0f);
        const float prior =
            first ? above : kPriorWeight * m_lastCleanPower[k] / noise + (1 - kPriorWeight) * above;
        const float gain = std::max(prior / (1 + prior), kLeastGain);
        m_lastCleanPower[k] = gain * gain * power[k];
        m_spectrum[k] *= std::pow(gain, m_strength);
        if (k > 0 && k < kFrame / 2)
            m_spectrum[kFrame - k] = std::conj(m_spectrum[k]);
    }
    Transform(m_spectrum, true);
    for (int i = 0; i < kHop; ++i) {
        m_ready[i] = m_overlap[i] + m_spectrum[i].real() / kFrame;
        m_overlap[i] = m_spectrum[kHop + i].real() / kFrame;
    }
}
