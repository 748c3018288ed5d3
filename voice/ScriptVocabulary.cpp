#include "ScriptVocabulary.h"

#include "EspeakPhones.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace
{
// The share of probability a history keeps for words it was never followed by.
constexpr double kBackoffShare = 0.2;
// An utterance may end after any word: about one in kWordsPerUtterance.
constexpr double kWordsPerUtterance = 8.0;

std::string Log10Text(double p)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", std::log10(p));
    return text;
}

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
    std::set<std::string> found;
    std::istringstream written(dictionary.str());
    for (std::string head, rest; written >> head && std::getline(written, rest);)
        found.insert(HeadWord(head));
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

std::string ScriptLanguageModel(const std::vector<std::string>& words)
{
    std::map<std::string, int> one;
    std::map<std::pair<std::string, std::string>, int> two;
    std::map<std::tuple<std::string, std::string, std::string>, int> three;
    for (std::size_t i = 0; i < words.size(); ++i) {
        ++one[words[i]];
        if (i + 1 < words.size())
            ++two[{words[i], words[i + 1]}];
        if (i + 2 < words.size())
            ++three[{words[i], words[i + 1], words[i + 2]}];
    }
    const double total = static_cast<double>(words.size()) + 1;
    const std::string backoff = Log10Text(kBackoffShare);
    std::ostringstream arpa;
    arpa << "\\data\\\nngram 1=" << one.size() + 2 << "\nngram 2=" << two.size()
         << "\nngram 3=" << three.size() << "\n\n\\1-grams:\n";
    arpa << Log10Text(1 / kWordsPerUtterance) << " </s>\n";
    arpa << "-99 <s> " << backoff << '\n';
    for (const auto& [word, count] : one)
        arpa << Log10Text((1 - 1 / kWordsPerUtterance) * count / total) << ' ' << word << ' '
             << backoff << '\n';
    arpa << "\n\\2-grams:\n";
    for (const auto& [pair, count] : two)
        arpa << Log10Text((1 - kBackoffShare) * count / one[pair.first]) << ' ' << pair.first << ' '
             << pair.second << ' ' << backoff << '\n';
    arpa << "\n\\3-grams:\n";
    for (const auto& [triple, count] : three) {
        const auto& [a, b, c] = triple;
        arpa << Log10Text((1 - kBackoffShare) * count / two[{a, b}]) << ' ' << a << ' ' << b << ' '
             << c << '\n';
    }
    arpa << "\n\\end\\\n";
    return arpa.str();
}
