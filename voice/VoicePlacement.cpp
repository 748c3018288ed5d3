#include "VoicePlacement.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace
{
// The heard words aligned at a time: enough for evidence, few enough that
// the alignment tells where the speaker is now.
constexpr int kAlignedWords = 10;
// The alignment must end within the last few heard words, or it tells where
// the speaker was.
constexpr int kEndWithinLastWords = 3;
constexpr int kMatchScore = 2;
constexpr int kMissScore = -1;
constexpr int kGapScore = -1;
// Evidence is counted in halves: a word the script says often ("the", "a")
// is half a match, since noise is heard as such words by chance.
constexpr int kWholeMatch = 2;
constexpr int kCommonWordMatch = 1;
constexpr int kCommonWordCount = 5;
// Evidence it takes to go back: three matching words heard since the place
// last held, no more than one of them common, the last word heard left out,
// since it is the decoder's guess at a word still being spoken and the most
// often revised. A repeat heard word by word adds them one at a time.
constexpr int kUnplacedEvidenceBack = 2 * kWholeMatch + kCommonWordMatch;
// Words misheard since the place last moved let it catch up this far on
// one new match, since the speaker said them; more could be noise.
constexpr int kCatchUpWords = 6;
// Evidence it takes to place the voice anywhere in the script. The grammar
// makes noise into script phrases, and four of their words match somewhere
// by chance.
constexpr int kEvidenceWhenLost = 5 * kWholeMatch;
// Lost, the speaker is still ahead of the place, no further than a brisk
// reader gets in the time since it held: there the few words a noisy
// stretch gets right find it, on the evidence it takes to go back.
constexpr double kBriskWordsPerSecond = 3.0;
constexpr int kEvidenceWithinReach = kUnplacedEvidenceBack;

// Evidence it takes to move d words ahead beyond the free advance. The
// recogniser listens for the words near the place, so noise it hears as
// their phrases lands where a jump would go: a word more than such a phrase
// matches by chance, but no more than a reader's first words after a skip.
int EvidenceAhead(int d)
{
    return std::min(4 + d / 20, 6) * kWholeMatch;
}

// A reader going back repeats a sentence or so; further back, a few noisy
// words that sound like an earlier line are likelier, so it takes as much
// as going ahead.
constexpr int kSentenceWords = 20;
int EvidenceBack(int d)
{
    return d <= kSentenceWords ? kUnplacedEvidenceBack : EvidenceAhead(d);
}
} // namespace

VoicePlacement::VoicePlacement(std::vector<std::string> script) : m_script(std::move(script))
{
    std::map<std::string, int> counts;
    for (const std::string& word : m_script)
        ++counts[word];
    for (const std::string& word : m_script)
        m_weights.push_back(counts[word] >= kCommonWordCount ? kCommonWordMatch : kWholeMatch);
}

void VoicePlacement::PlaceBefore(int word)
{
    m_placed = std::clamp(word, 0, static_cast<int>(m_script.size())) - 1;
    m_context.clear();
    m_heard.clear();
    m_placedAfter.assign(1, m_placed);
    m_unplacedEarlier = 0;
    m_heardWhenPlaced = 0;
    m_unplacedSpeech = 0;
    m_heldAt = m_heardAt;
    m_lost = false;
}

bool VoicePlacement::Hear(const HeardWords& heard)
{
    const bool sameUtterance = heard.utterance == m_utterance;
    if (sameUtterance)
        m_unplacedSpeech += std::max(heard.seconds - m_heardAt, 0.0);
    m_heardAt = heard.seconds;
    if (!sameUtterance) {
        m_context.insert(m_context.end(), m_heard.begin(), m_heard.end());
        if (m_context.size() > kAlignedWords)
            m_context.erase(m_context.begin(), m_context.end() - kAlignedWords);
        m_utterance = heard.utterance;
        m_unplacedEarlier += m_heard.size() - std::min(m_heardWhenPlaced, m_heard.size());
        m_heardWhenPlaced = 0;
        m_heard.clear();
        m_placedAfter.assign(1, m_placed);
    }
    // Words past those the last hypothesis agreed on are new, or newly
    // revised; a hypothesis that shrank moves nothing.
    const bool shrank = heard.words.size() < m_heard.size();
    const auto agreed =
        std::mismatch(m_heard.begin(), m_heard.end(), heard.words.begin(), heard.words.end());
    const int newWords = static_cast<int>(heard.words.end() - agreed.second);
    const auto agreedWords = static_cast<std::size_t>(agreed.second - heard.words.begin());
    m_heard = heard.words;
    if (shrank)
        m_placedAfter.resize(m_heard.size() + 1, m_placed);
    if (shrank || newWords == 0)
        return false;
    // A revised word takes back the place its earlier version gave, so a
    // word misheard for a moment does not leave the place past the speaker.
    const int held = m_placed;
    if (agreedWords + 1 < m_placedAfter.size())
        m_placed = m_placedAfter[agreedWords];
    // The words heard since the place last held, revised ones anew.
    const std::size_t unplaced =
        m_unplacedEarlier + m_heard.size() - std::min(m_heardWhenPlaced, agreedWords);
    if (Place(newWords, static_cast<int>(unplaced), held)) {
        m_unplacedEarlier = 0;
        m_heardWhenPlaced = m_heard.size();
    } else {
        m_placed = held;
    }
    m_placedAfter.resize(agreedWords + 1);
    m_placedAfter.resize(m_heard.size() + 1, m_placed);
    return m_placed != held;
}

bool VoicePlacement::Place(int newWords, int unplacedWords, int held)
{
    const int scriptSize = static_cast<int>(m_script.size());
    const int from = std::max(m_placed - kWordsBehind, 0);
    const int to = std::min(m_placed + kWordsAhead + 1, scriptSize);
    const Alignment found =
        m_lost ? FindWhenLost(newWords) : Align(from, to, newWords, unplacedWords);
    if (found.scriptEnd >= 0 && (m_lost || Accept(found, newWords, unplacedWords, held))) {
        m_placed = found.scriptEnd;
        m_heldAt = m_heardAt;
        m_unplacedSpeech = 0;
        m_lost = false;
        return true;
    }
    if (m_unplacedSpeech > kLostSeconds)
        m_lost = true;
    return false;
}

bool VoicePlacement::Accept(const Alignment& found, int newWords, int unplacedWords, int held) const
{
    const int d = found.scriptEnd - m_placed;
    // A revised word that took the place back does not carry it further
    // back than new words could.
    const bool back = found.scriptEnd < held - kDoubtWords;
    if (back && found.settledUnplacedEvidence < EvidenceBack(held - found.scriptEnd))
        return false;
    if (d == 0)
        return found.newMatches > 0;
    if (d < 0)
        return back;
    if (d <= newWords + 2)
        return found.newMatches > 0;
    if (d <= std::min(unplacedWords, kCatchUpWords) + 2)
        return found.newMatches > 0 && found.evidenceAhead >= kWholeMatch;
    // Noise heard through the grammar's skips finds common words far ahead:
    // a jump counts one of them for each uncommon word matched with it.
    const int uncommon = found.evidenceAhead - found.commonEvidenceAhead;
    const int common =
        std::min(found.commonEvidenceAhead, uncommon / kWholeMatch * kCommonWordMatch);
    return uncommon + common >= EvidenceAhead(d);
}

VoicePlacement::Alignment VoicePlacement::FindWhenLost(int newWords) const
{
    const int scriptSize = static_cast<int>(m_script.size());
    const Alignment anywhere = Align(0, scriptSize, newWords);
    if (anywhere.evidence >= kEvidenceWhenLost)
        return anywhere;
    const int reach = static_cast<int>(kBriskWordsPerSecond * (m_heardAt - m_heldAt));
    const Alignment ahead =
        Align(m_placed + 1, std::min(m_placed + 1 + reach, scriptSize), newWords);
    return ahead.evidence >= kEvidenceWithinReach ? ahead : Alignment{};
}

VoicePlacement::Alignment VoicePlacement::Align(int from, int to, int newWords,
                                                int unplacedWords) const
{
    std::vector<const std::string*> heard;
    for (const std::string& word : m_context)
        heard.push_back(&word);
    for (const std::string& word : m_heard)
        heard.push_back(&word);
    if (heard.size() > kAlignedWords)
        heard.erase(heard.begin(), heard.end() - kAlignedWords);
    const int rows = static_cast<int>(heard.size());
    const int cols = to - from;
    if (rows == 0 || cols <= 0)
        return {};
    const int firstNew = rows - std::min(newWords, rows);
    const int firstUnplaced = rows - std::min(std::max(newWords, unplacedWords), rows);

    // Smith-Waterman over heard words (rows) and script words (columns).
    const int width = cols + 1;
    std::vector<int> score(static_cast<std::size_t>((rows + 1) * width), 0);
    const auto at = [width](int i, int j) { return static_cast<std::size_t>(i * width + j); };
    const auto same = [&](int i, int j) { return *heard[i - 1] == m_script[from + j - 1]; };
    int bestScore = 0, bestI = 0, bestJ = 0;
    for (int i = 1; i <= rows; ++i) {
        for (int j = 1; j <= cols; ++j) {
            const int diagonal = score[at(i - 1, j - 1)] + (same(i, j) ? kMatchScore : kMissScore);
            const int up = score[at(i - 1, j)] + kGapScore;
            const int left = score[at(i, j - 1)] + kGapScore;
            const int cell = std::max({0, diagonal, up, left});
            score[at(i, j)] = cell;
            // Ties go to the place nearest the one held, so a repeated
            // phrase does not pull the place away.
            const bool better = cell > bestScore || (cell == bestScore && cell > 0 &&
                                                     std::abs(from + j - 1 - m_placed) <
                                                         std::abs(from + bestJ - 1 - m_placed));
            if (i > rows - kEndWithinLastWords && same(i, j) && better) {
                bestScore = cell;
                bestI = i;
                bestJ = j;
            }
        }
    }
    if (bestScore == 0)
        return {};

    Alignment found;
    found.scriptEnd = from + bestJ - 1;
    for (int i = bestI, j = bestJ; i > 0 && j > 0 && score[at(i, j)] > 0;) {
        const int cell = score[at(i, j)];
        if (cell == score[at(i - 1, j - 1)] + (same(i, j) ? kMatchScore : kMissScore)) {
            if (same(i, j)) {
                const int weight = m_weights[static_cast<std::size_t>(from + j - 1)];
                found.evidence += weight;
                // Words matched at the place held tell nothing of a guess
                // far beyond it.
                if (from + j - 1 > m_placed) {
                    found.evidenceAhead += weight;
                    found.commonEvidenceAhead += weight == kCommonWordMatch ? weight : 0;
                }
                found.newMatches += i - 1 >= firstNew;
                if (i - 1 >= firstUnplaced && i < rows)
                    found.settledUnplacedEvidence += weight;
            }
            --i;
            --j;
        } else if (cell == score[at(i - 1, j)] + kGapScore) {
            --i;
        } else {
            --j;
        }
    }
    return found;
}
