#include "VoiceListener.h"

#include "WavFile.h"

namespace
{
// Seconds after the place last moved that the follower still counts as
// following rather than listening.
constexpr double kFollowingSeconds = 3.0;

std::vector<std::string> TextsOf(const std::vector<ScriptWord>& words)
{
    std::vector<std::string> texts;
    texts.reserve(words.size());
    for (const ScriptWord& word : words)
        texts.push_back(word.text);
    return texts;
}

std::vector<double> MomentsOf(const std::vector<ScriptWord>& words)
{
    std::vector<double> moments = WordMomentsInLines(words);
    for (std::size_t k = 0; k < words.size(); ++k)
        moments[k] += words[k].line;
    return moments;
}
} // namespace

VoiceListener::VoiceListener(const std::vector<ScriptWord>& words)
    : m_recogniser(TextsOf(words)), m_placement(TextsOf(words)), m_pace(MomentsOf(words))
{
}

void VoiceListener::PlaceBefore(int word)
{
    m_placement.PlaceBefore(word);
    m_recogniser.Focus(m_placement.Placed(), false);
    m_pace.Restart();
    m_shown = m_placement.Placed();
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
    m_recogniser.Focus(m_placement.Placed(), m_placement.Lost());
    const bool speaking = !heard.words.empty() && !heard.ended;
    m_shown = m_pace.Shown(m_placement.Placed(), speaking, Seconds());
}

VoiceState VoiceListener::State() const
{
    if (m_placement.Lost())
        return VoiceState::Lost;
    return Seconds() - m_movedAt < kFollowingSeconds ? VoiceState::Following
                                                     : VoiceState::Listening;
}
