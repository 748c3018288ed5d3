#include "NoiseSuppressor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace
{
constexpr int kRate = 16000;
constexpr int kPiece = kRate / 10;

struct SuppressCase {
    const char* rule;
    double noiseLevel;   // root mean square
    double burstLevel;   // peak of the burst
    bool square;         // a square burst rather than a sine
    double measuredFrom; // seconds
    double measuredTo;
    double lowestChangeDb; // of the level over the measured stretch
    double highestChangeDb;
};

// Four seconds: noise throughout, a 1 kHz burst from 2 s to 2.5 s.
std::vector<std::int16_t> Input(const SuppressCase& c)
{
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, c.noiseLevel > 0 ? c.noiseLevel : 1);
    std::vector<std::int16_t> samples(4 * kRate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double sine = std::sin(2 * std::numbers::pi * 1000 * i / kRate);
        const double wave = c.square ? (i / (kRate / 2000) % 2 ? -1 : 1) : sine;
        const bool inBurst = i >= 2 * kRate && i < 2.5 * kRate;
        const double burst = inBurst ? c.burstLevel * wave : 0;
        const double value = burst + (c.noiseLevel > 0 ? noise(random) : 0);
        samples[i] = static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
    }
    return samples;
}

double Level(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(to - from));
}

const SuppressCase kSuppressCases[] = {
    {"steady noise comes out much quieter", 1000, 0, false, 3, 3.5, -100, -10},
    {"a burst a little above the noise keeps its level", 1000, 8000, false, 2.1, 2.4, -1.5, 1.5},
    {"silence stays silence", 0, 0, false, 3, 3.5, 0, 0},
    {"a full-scale burst in noise comes through whole", 1000, 32767, true, 2.1, 2.4, -1.5, 1.5},
    {"faint noise under loud speech is left as it is", 30, 8000, false, 3, 3.5, -0.2, 0.2},
};

TEST(NoiseSuppressor, LowersSteadyNoiseAndKeepsWhatStandsAboveIt)
{
    for (const SuppressCase& c : kSuppressCases) {
        SCOPED_TRACE(c.rule);
        const std::vector<std::int16_t> in = Input(c);
        std::vector<std::int16_t> out(in.size());
        NoiseSuppressor suppressor;
        for (std::size_t at = 0; at < in.size(); at += kPiece)
            suppressor.Suppress(std::span(in).subspan(at, kPiece),
                                std::span(out).subspan(at, kPiece));
        const auto from = static_cast<std::size_t>(c.measuredFrom * kRate);
        const auto to = static_cast<std::size_t>(c.measuredTo * kRate);
        const double before = Level(in, from, to);
        const double after =
            Level(out, from + NoiseSuppressor::kDelaySamples, to + NoiseSuppressor::kDelaySamples);
        if (before == 0) {
            EXPECT_EQ(after, 0);
            continue;
        }
        const double changeDb = 20 * std::log10(after / before);
        EXPECT_GE(changeDb, c.lowestChangeDb);
        EXPECT_LE(changeDb, c.highestChangeDb);
        // No sample moves much further than the noise taken out of it: none
        // wraps round or clips.
        for (std::size_t i = from; c.burstLevel > 0 && i < to; ++i)
            ASSERT_LT(std::abs(out[i + NoiseSuppressor::kDelaySamples] - in[i]),
                      c.burstLevel / 4 + 4 * c.noiseLevel);
    }
}
} // namespace
