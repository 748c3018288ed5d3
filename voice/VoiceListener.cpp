#include "VoiceListener.h"

#include "WavFile.h"

namespace
{
// Seconds after the place last moved that the follower still counts as
// following rather than listening.
constexpr double kFollowingSeconds = 3.0;
} // namespace

VoiceListener::VoiceListener(std::vector<std::string> words)
    : m_recogniser(words), m_placement(std::move(words))
{
}

double VoiceListener::Seconds() const
{
    return static_cast<double>(m_samples) / kVoiceSampleRate;
}

void VoiceListener::Hear(std::span<const std::int16_t> piece)
{
    m_samples += static_cast<std::int64_t>(piece.size());
    const Hypothesis heard = m_recogniser.Feed(piece);
    if (!heard.words.empty() && m_placement.Hear({heard.utterance, heard.words, Seconds()}))
        m_movedAt = Seconds();
}

VoiceState VoiceListener::State() const
{
    if (m_placement.Lost())
        return VoiceState::Lost;
    return Seconds() - m_movedAt < kFollowingSeconds ? VoiceState::Following
                                                     : VoiceState::Listening;
}
