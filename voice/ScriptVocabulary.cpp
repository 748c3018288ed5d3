#include "ScriptVocabulary.h"

#include "EspeakPhones.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace
{
// An utterance may end after any word: about one in kWordsPerUtterance.
constexpr double kWordsPerUtterance = 8.0;
// The grammar's odds: the next word, a word left out, a jump elsewhere
// within an utterance, and an utterance off the script. In loud noise
// the script's words in any order fit a misheard stretch better than the
// phrase being read (hiss sounds like "f", "th" and "h"), so the loop is
// kept rare: speech truly off the script still fits it far better.
constexpr double kNextWordShare = 0.85;
constexpr double kLeftOutShare = 0.02;
constexpr double kJumpShare = 0.01;
constexpr double kOffScriptShare = 0.002;
// Of the loop off the script, the share for the words of the stretch listened
// for; the rest of the script's words take the remainder, so that speech off
// the script is not all heard as the stretch's phrases.
constexpr double kOffStretchShare = 0.95;

// The dictionary's word for a variant line's head: "read(2)" is "read".
std::string HeadWord(const std::string& head)
{
    const std::size_t paren = head.find('(');
    return paren == std::string::npos ? head : head.substr(0, paren);
}
} // namespace

std::string ScriptDictionary(const std::vector<std::string>& words,
                             const std::string& modelDictionaryPath)
{
    std::set<std::string> wanted(words.begin(), words.end());
    std::ostringstream dictionary;
    std::ifstream model(modelDictionaryPath);
    for (std::string line; std::getline(model, line);) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        const std::string head = line.substr(0, space);
        if (wanted.contains(HeadWord(head)))
            dictionary << line << '\n';
    }
    const std::set<std::string> found = DictionaryWords(dictionary.str());
    EspeakPhones espeak;
    for (const std::string& word : wanted) {
        if (found.contains(word))
            continue;
        const std::string phones = espeak.Pronounce(word);
        if (!phones.empty())
            dictionary << word << ' ' << phones << '\n';
    }
    return dictionary.str();
}

std::set<std::string> DictionaryWords(const std::string& dictionary)
{
    std::set<std::string> words;
    std::istringstream lines(dictionary);
    for (std::string head, rest; lines >> head && std::getline(lines, rest);)
        words.insert(HeadWord(head));
    return words;
}

std::string ScriptGrammar(const std::vector<std::string>& words,
                          const std::set<std::string>& pronounceable)
{
    // States: the start, the end, the hub that leads to every word, the loop
    // of words off the script, then one before each script word and the last.
    constexpr int kStart = 0, kEnd = 1, kHub = 2, kOff = 3, kFirstPlace = 4;
    const int count = static_cast<int>(words.size());
    const auto place = [](int word) { return kFirstPlace + word; };
    // The word at w, or none when the dictionary lacks it.
    const auto said = [&](int w) {
        const std::string& word = words[static_cast<std::size_t>(w)];
        return pronounceable.contains(word) ? word : std::string();
    };
    std::ostringstream fsg;
    fsg << "FSG_BEGIN script\nN " << place(count) + 1 << "\nS " << kStart << "\nF " << kEnd << '\n';
    const auto arc = [&fsg](int from, int to, double p, const std::string& word) {
        fsg << "T " << from << ' ' << to << ' ' << p << (word.empty() ? "" : " ") << word << '\n';
    };
    arc(kStart, kHub, 1 - kOffScriptShare, {});
    arc(kStart, kOff, kOffScriptShare, {});
    for (int w = 0; w < count; ++w) {
        const std::string word = said(w);
        if (!word.empty())
            arc(kHub, place(w + 1), 1.0 / count, word);
        arc(place(w), place(w + 1), word.empty() ? 1 : kNextWordShare, word);
        if (w + 1 < count && !said(w + 1).empty())
            arc(place(w), place(w + 2), kLeftOutShare, said(w + 1));
        arc(place(w), kHub, kJumpShare, {});
        arc(place(w), kEnd, 1 / kWordsPerUtterance, {});
    }
    arc(place(count), kEnd, 1, {});
    const std::set<std::string> stretch(words.begin(), words.end());
    const auto inStretch = [&stretch](const std::string& word) { return stretch.contains(word); };
    const auto within = std::count_if(pronounceable.begin(), pronounceable.end(), inStretch);
    const auto beyond = static_cast<std::ptrdiff_t>(pronounceable.size()) - within;
    const double stretchShare = beyond == 0 ? 1 : kOffStretchShare;
    for (const std::string& word : pronounceable) {
        const bool in = inStretch(word);
        const double share = in ? stretchShare : 1 - stretchShare;
        arc(kOff, kOff,
            (1 - 1 / kWordsPerUtterance) * share / static_cast<double>(in ? within : beyond), word);
    }
    arc(kOff, kEnd, 1 / kWordsPerUtterance, {});
    arc(kOff, kHub, kJumpShare, {});
    fsg << "FSG_END\n";
    return fsg.str();
}
