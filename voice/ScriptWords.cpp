#include "ScriptWords.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <utility>

namespace
{
// Written as the reader says them; matched without case or the final dot.
constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kSpokenAbbreviations{{
    {"mr", "mister"},
    {"mrs", "missus"},
    {"ms", "miz"},
    {"dr", "doctor"},
    {"prof", "professor"},
    {"st", "saint"},
    {"jr", "junior"},
    {"sr", "senior"},
    {"vs", "versus"},
    {"etc", "et cetera"},
    {"approx", "approximately"},
    {"dept", "department"},
    {"govt", "government"},
    {"inc", "incorporated"},
    {"ltd", "limited"},
    {"co", "company"},
    {"mt", "mount"},
    {"ft", "feet"},
    {"km", "kilometres"},
    {"&", "and"},
    {"%", "percent"},
}};

constexpr std::array<std::string_view, 20> kUnitNames{
    "zero",     "one",     "two",     "three",     "four",     "five",    "six",
    "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",  "thirteen",
    "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<std::string_view, 10> kTensNames{
    "", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};

void AppendBelowThousand(std::uint64_t n, std::vector<std::string>& out)
{
    if (n >= 100) {
        out.emplace_back(kUnitNames[n / 100]);
        out.emplace_back("hundred");
        n %= 100;
    }
    if (n >= 20) {
        out.emplace_back(kTensNames[n / 10]);
        n %= 10;
        if (n != 0)
            out.emplace_back(kUnitNames[n]);
    } else if (n != 0) {
        out.emplace_back(kUnitNames[n]);
    }
}

void AppendNumber(std::uint64_t n, std::vector<std::string>& out)
{
    if (n == 0) {
        out.emplace_back(kUnitNames[0]);
        return;
    }
    // Years are read in pairs: nineteen ninety.
    if (n >= 1100 && n < 2000 && n % 100 != 0) {
        AppendBelowThousand(n / 100, out);
        AppendBelowThousand(n % 100, out);
        return;
    }
    constexpr std::array<std::pair<std::uint64_t, std::string_view>, 3> kScales{
        {{1'000'000'000, "billion"}, {1'000'000, "million"}, {1000, "thousand"}}};
    for (const auto& [scale, name] : kScales) {
        if (n >= scale) {
            AppendBelowThousand(n / scale % 1000, out);
            out.emplace_back(name);
            n %= scale;
        }
    }
    AppendBelowThousand(n, out);
}

// A run of digits, with thousands separators dropped; the digits after a
// decimal point are read one by one.
void AppendDigits(const QString& token, std::vector<std::string>& out)
{
    const QStringList parts = QString(token).remove(QLatin1Char(',')).split(QLatin1Char('.'));
    bool ok = false;
    const std::uint64_t whole = parts.front().left(12).toULongLong(&ok);
    if (ok)
        AppendNumber(whole, out);
    if (parts.size() > 1 && !parts[1].isEmpty()) {
        out.emplace_back("point");
        for (const QChar digit : parts[1])
            if (digit.isDigit())
                out.emplace_back(kUnitNames[digit.digitValue()]);
    }
}

void AppendToken(const QString& raw, std::vector<std::string>& out)
{
    QString token = raw.toLower();
    // Quotes and brackets around a word, and a sentence's end.
    const auto spoken = [](QChar c) { return c.isLetterOrNumber() || c == u'%' || c == u'&'; };
    while (!token.isEmpty() && !spoken(token.back()))
        token.chop(1);
    while (!token.isEmpty() && !spoken(token.front()))
        token.remove(0, 1);
    if (token.isEmpty())
        return;
    for (const auto& [abbreviation, spoken] : kSpokenAbbreviations) {
        if (token.toStdString() == abbreviation) {
            for (const QString& word : QString::fromUtf8(spoken.data(), spoken.size()).split(u' '))
                out.push_back(word.toStdString());
            return;
        }
    }
    if (token.front().isDigit()) {
        qsizetype end = 0;
        while (end < token.size() &&
               (token[end].isDigit() || token[end] == u',' ||
                (token[end] == u'.' && end + 1 < token.size() && token[end + 1].isDigit())))
            ++end;
        AppendDigits(token.left(end), out);
        AppendToken(token.mid(end), out); // "%", "th", units
        return;
    }
    std::string word;
    for (const QChar c : token) {
        if (c.isLetter())
            word += QString(c).toStdString();
        else if ((c == u'\'' || c == u'\u2019') && !word.empty())
            word += '\'';
    }
    if (word.size() > 1 && word.back() == '\'')
        word.pop_back();
    if (!word.empty())
        out.push_back(std::move(word));
}
} // namespace

std::vector<std::string> SpokenWords(std::string_view text)
{
    std::vector<std::string> words;
    const QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // Hyphens and dashes part words, as slashes do.
    const QRegularExpression breaks(QStringLiteral("[\\s\\-\\x{2010}-\\x{2015}/]+"));
    for (const QString& token : whole.split(breaks, Qt::SkipEmptyParts))
        AppendToken(token, words);
    return words;
}

std::vector<ScriptWord> ScriptWordsOf(std::string_view scriptText)
{
    std::vector<ScriptWord> words;
    int line = 0;
    std::size_t start = 0;
    while (start < scriptText.size()) {
        std::size_t end = scriptText.find('\n', start);
        if (end == std::string_view::npos)
            end = scriptText.size();
        for (std::string& word : SpokenWords(scriptText.substr(start, end - start)))
            words.push_back({std::move(word), line});
        ++line;
        start = end + 1;
    }
    return words;
}

std::vector<double> WordMomentsInLines(const std::vector<ScriptWord>& words)
{
    std::vector<double> moments;
    moments.reserve(words.size());
    for (std::size_t i = 0; i < words.size();) {
        std::size_t end = i;
        while (end < words.size() && words[end].line == words[i].line)
            ++end;
        for (std::size_t k = i; k < end; ++k)
            moments.push_back((static_cast<double>(k - i) + 0.5) / static_cast<double>(end - i));
        i = end;
    }
    return moments;
}
