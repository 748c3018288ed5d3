#include "VoicePace.h"

#include "VoicePlacement.h"

#include <algorithm>
#include <cmath>

namespace
{
// The pace is of the words placed over this many seconds of late.
constexpr double kPaceSeconds = 6.0;
// Fewer words, or a shorter stretch, tell no pace.
constexpr int kPaceWords = 3;
constexpr double kPaceLeastSeconds = 1.5;
// A move further than this, or back further than a doubt, is no reading.
constexpr int kReadingStepWords = 8;
constexpr double kCoastSeconds = 3.0;
// Less than a line ahead of a place the recogniser's doubt may take back,
// the run holds still for the words placed next rather than jump back.
constexpr double kCoastLines = 0.9;
// Speech before any word placed is the script's start being read, once it
// has gone on this long; the first placing often takes seconds, the
// decoder still settling.
constexpr double kStartSpeechSeconds = 0.3;
} // namespace

VoicePace::VoicePace(std::vector<double> wordMoments) : m_moments(std::move(wordMoments))
{
    // A blank line holds nothing to read: the coast crosses it as no line.
    double blankLines = 0;
    double previousLine = m_moments.empty() ? 0 : std::floor(m_moments.front());
    for (double& moment : m_moments) {
        const double line = std::floor(moment);
        blankLines += std::max(line - previousLine - 1, 0.0);
        previousLine = line;
        moment -= blankLines;
    }
}

void VoicePace::Restart()
{
    m_moves.clear();
    m_furthest = -1;
    m_speechSincePlaced = 0;
}

double VoicePace::WordsPerSecond() const
{
    if (m_moves.size() < 2)
        return 0;
    const double seconds = m_moves.back().first - m_moves.front().first;
    const int words = m_moves.back().second - m_moves.front().second;
    return seconds >= kPaceLeastSeconds && words >= kPaceWords ? words / seconds : 0;
}

int VoicePace::Shown(int placed, bool speaking, double seconds)
{
    if (speaking)
        m_speechSincePlaced += std::max(seconds - m_heardAt, 0.0);
    m_heardAt = seconds;
    // A step back by the recogniser's doubt leaves the coast where it was.
    const bool doubt = placed < m_furthest && placed >= m_furthest - VoicePlacement::kDoubtWords;
    if (placed != m_furthest && !doubt) {
        if (placed < m_furthest || placed > m_furthest + kReadingStepWords)
            m_moves.clear();
        m_moves.emplace_back(seconds, placed);
        while (m_moves.front().first < seconds - kPaceSeconds)
            m_moves.pop_front();
        m_furthest = placed;
        m_speechSincePlaced = 0;
    }
    if (!speaking)
        return placed;
    if (placed < 0)
        return m_speechSincePlaced >= kStartSpeechSeconds && !m_moments.empty() ? 0 : placed;
    const double coasting = std::min(m_speechSincePlaced, kCoastSeconds);
    const int last = static_cast<int>(m_moments.size()) - 1;
    int shown = std::min(m_furthest + static_cast<int>(WordsPerSecond() * coasting), last);
    const auto at = [this](int word) { return m_moments[static_cast<std::size_t>(word)]; };
    const int doubted = std::max(m_furthest - VoicePlacement::kDoubtWords, 0);
    while (shown > m_furthest && at(shown) - at(doubted) >= kCoastLines)
        --shown;
    return std::max(shown, placed);
}
