#include "VoiceReadings.h"

#include "ScriptWords.h"
#include "WavFile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

namespace
{
constexpr double kPauseSeconds = 5.0;
constexpr double kParagraphGapSeconds = 0.4;

// One line as the voice spoke it: samples and the words' start and end.
struct SpokenLine {
    std::vector<std::int16_t> samples;
    std::vector<std::pair<double, double>> words;
    QString problem;
};

// Word times from the span of speech, shared by letters: for voices that
// tell when their phones end but not their words.
std::vector<std::pair<double, double>> SpreadByLetters(const std::vector<std::string>& words,
                                                       double from, double to)
{
    double letters = 0;
    for (const std::string& word : words)
        letters += static_cast<double>(word.size()) + 1;
    std::vector<std::pair<double, double>> times;
    double at = from;
    for (const std::string& word : words) {
        const double length = (to - from) * (static_cast<double>(word.size()) + 1) / letters;
        times.emplace_back(at, at + length);
        at += length;
    }
    return times;
}

// A command that crashed reports exit code 0 as well.
bool Succeeded(QProcess& process, int milliseconds)
{
    return process.waitForFinished(milliseconds) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// One problem for the whole reading.
std::vector<SpokenLine> Failed(const QString& problem)
{
    return {{{}, {}, problem}};
}

bool WriteText(const QString& path, const std::string& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size());
}

// Word times from espeak-ng's word starts: each word ends where the next
// begins, the last a little before the line's end.
std::vector<std::pair<double, double>> TimesFromStarts(const std::vector<double>& starts,
                                                       std::size_t wordCount, double length)
{
    if (starts.size() != wordCount)
        return SpreadByLetters(std::vector<std::string>(wordCount, "word"), 0, length);
    std::vector<std::pair<double, double>> times;
    for (std::size_t k = 0; k < wordCount; ++k) {
        const double end = k + 1 < wordCount ? starts[k + 1] : length - 0.1;
        times.emplace_back(starts[k], std::max(end, starts[k]));
    }
    return times;
}

// espeak-ng through espeak_reader: a fresh process makes the same reading
// whatever was read before it.
std::vector<SpokenLine> SpeakWithEspeak(const Reader& reader, const std::vector<std::string>& texts,
                                        const std::vector<std::size_t>& wordCounts,
                                        const QString& folder)
{
    std::string all;
    for (const std::string& text : texts)
        all += text + '\n';
    const QString linesFile = folder + QStringLiteral("/lines.txt");
    if (!WriteText(linesFile, all))
        return Failed(QStringLiteral("no room for espeak-ng's lines"));
    QProcess espeak;
    espeak.start(QStringLiteral(VELLOR_ESPEAK_READER),
                 {QString::fromStdString(reader.voice), QString::number(reader.wordsPerMinute),
                  linesFile, folder});
    if (!Succeeded(espeak, 600000))
        return Failed(QStringLiteral("espeak-ng did not run"));
    std::istringstream out(espeak.readAllStandardOutput().toStdString());
    std::vector<SpokenLine> lines(texts.size());
    std::vector<double> starts;
    std::size_t at = 0;
    double seconds = 0;
    for (std::string tag; at < texts.size() && out >> tag >> seconds;) {
        if (tag == "W") {
            starts.push_back(seconds);
            continue;
        }
        QFile raw(folder + QStringLiteral("/%1.raw").arg(at));
        if (!raw.open(QIODevice::ReadOnly))
            return Failed(QStringLiteral("espeak-ng wrote no samples"));
        const QByteArray bytes = raw.readAll();
        lines[at].samples.resize(static_cast<std::size_t>(bytes.size()) / sizeof(std::int16_t));
        if (!lines[at].samples.empty())
            std::memcpy(lines[at].samples.data(), bytes.constData(),
                        lines[at].samples.size() * sizeof(std::int16_t));
        lines[at].words = TimesFromStarts(starts, wordCounts[at], seconds);
        starts.clear();
        ++at;
    }
    if (at != texts.size())
        return Failed(QStringLiteral("espeak-ng did not read every line"));
    return lines;
}

// flite and festival as their commands: each line to a WAV file of its own.
SpokenLine SpeakWithFlite(const Reader& reader, const std::string& text,
                          const std::vector<std::string>& words, const QString& folder)
{
    SpokenLine line;
    const QString wav = folder + QStringLiteral("/line.wav");
    QProcess flite;
    flite.start(QStringLiteral("flite"), {"-voice", QString::fromStdString(reader.voice), "-psdur",
                                          "-t", QString::fromStdString(text), "-o", wav});
    if (!Succeeded(flite, 60000)) {
        line.problem = QStringLiteral("flite did not run");
        return line;
    }
    // "pau:0.16 hh:0.25 ...": each phone with the time it ends.
    std::istringstream phones(flite.readAllStandardOutput().toStdString());
    double previous = 0, speechFrom = -1, speechTo = 0;
    for (std::string phone; phones >> phone;) {
        const std::size_t colon = phone.rfind(':');
        if (colon == std::string::npos)
            continue;
        const double end = std::atof(phone.c_str() + colon + 1);
        if (phone.substr(0, colon) != "pau") {
            if (speechFrom < 0)
                speechFrom = previous;
            speechTo = end;
        }
        previous = end;
    }
    WavSamples read = ReadVoiceWav(wav);
    line.samples = std::move(read.samples);
    line.problem = read.problem;
    line.words = SpreadByLetters(words, std::max(speechFrom, 0.0), speechTo);
    return line;
}

std::vector<SpokenLine> SpeakWithFestival(const std::vector<std::string>& texts,
                                          const QString& folder)
{
    std::string scheme = "(voice_cmu_us_slt_arctic_hts)\n"
                         "(define (say line file)\n"
                         "  (let ((u (SynthText line)))\n"
                         "    (utt.save.wave u file 'riff)\n"
                         "    (mapcar (lambda (w) (format t \"W %f\\n\"\n"
                         "      (item.feat w \"R:SylStructure.daughtern.daughtern.end\")))\n"
                         "      (utt.relation.items u 'Word))\n"
                         "    (format t \"E\\n\")))\n";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string quoted;
        for (const char c : texts[i])
            if (c != '"' && c != '\\')
                quoted += c;
        scheme += "(say \"" + quoted + "\" \"" +
                  (folder + QStringLiteral("/f%1.wav").arg(i)).toStdString() + "\")\n";
    }
    const QString scriptFile = folder + QStringLiteral("/read.scm");
    if (!WriteText(scriptFile, scheme))
        return Failed(QStringLiteral("no room for festival's script"));
    QProcess festival;
    festival.start(QStringLiteral("festival"), {"--batch", scriptFile});
    if (!Succeeded(festival, 600000))
        return Failed(QStringLiteral("festival did not run"));
    std::vector<SpokenLine> lines(texts.size());
    std::istringstream out(festival.readAllStandardOutput().toStdString());
    std::size_t at = 0;
    double start = 0.1;
    for (std::string tag; out >> tag && at < texts.size();) {
        if (tag == "W") {
            double end = 0;
            out >> end;
            lines[at].words.emplace_back(std::min(start, end), end);
            start = end;
        } else if (tag == "E") {
            QProcess sox;
            const QString raw = folder + QStringLiteral("/f%1.wav").arg(at);
            const QString wav = folder + QStringLiteral("/g%1.wav").arg(at);
            // Repeatable: sox seeds its dither from the clock otherwise.
            sox.start(QStringLiteral("sox"),
                      {"-R", raw, "-r", "16000", "-c", "1", "-b", "16", wav});
            sox.waitForFinished(60000);
            WavSamples read = ReadVoiceWav(wav);
            lines[at].samples = std::move(read.samples);
            lines[at].problem = read.problem;
            ++at;
            start = 0.1;
        }
    }
    return lines;
}
} // namespace

ReadingPlan WholeScript(int lineCount)
{
    ReadingPlan plan;
    for (int line = 0; line < lineCount; ++line)
        plan.lines.push_back(line);
    return plan;
}

ReadingPlan SkippingReading(const std::vector<std::string>& scriptLines)
{
    // Paragraphs as runs of lines between blank ones.
    std::vector<std::vector<int>> paragraphs(1);
    for (int line = 0; line < static_cast<int>(scriptLines.size()); ++line) {
        if (SpokenWords(scriptLines[line]).empty()) {
            if (!paragraphs.back().empty())
                paragraphs.emplace_back();
        } else {
            paragraphs.back().push_back(line);
        }
    }
    ReadingPlan plan;
    const auto read = [&plan](const std::vector<int>& lines, std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < std::min(to, lines.size()); ++k)
            plan.lines.push_back(lines[k]);
    };
    // The first paragraph whole; the second without its third and fourth
    // lines; the third with its middle read twice, then a pause; the fifth
    // left out.
    read(paragraphs[0], 0, 99);
    read(paragraphs[1], 0, 2);
    read(paragraphs[1], 4, 99);
    read(paragraphs[2], 0, 4);
    read(paragraphs[2], 2, 99);
    plan.lines.push_back(kPauseLine);
    for (std::size_t p = 3; p < paragraphs.size(); ++p)
        if (p != 4)
            read(paragraphs[p], 0, 99);
    return plan;
}

ReadingPlan ReadingWithAside(int lineCount)
{
    ReadingPlan plan = WholeScript(lineCount);
    plan.lines.insert(plan.lines.begin() + std::min(12, lineCount), kAsideLine);
    plan.aside = "Before we go on, a quick word about parking tonight. If you came by car, "
                 "remember that the upper level closes at nine o'clock sharp. Thank you all "
                 "for joining us, and now, back to the news.";
    return plan;
}

Reading Synthesize(const Reader& reader, const std::vector<std::string>& scriptLines,
                   ReadingPlan& plan)
{
    Reading reading;
    // The first script word of each line.
    std::vector<int> firstWord(scriptLines.size() + 1, 0);
    std::vector<std::vector<std::string>> lineWords(scriptLines.size());
    for (std::size_t i = 0; i < scriptLines.size(); ++i) {
        lineWords[i] = SpokenWords(scriptLines[i]);
        firstWord[i + 1] = firstWord[i] + static_cast<int>(lineWords[i].size());
    }
    const QTemporaryDir folder;
    // What is said at each step that says anything, and its words.
    std::vector<std::string> texts;
    std::vector<std::vector<std::string>> saidWords;
    for (const int line : plan.lines) {
        if (line == kAsideLine) {
            texts.push_back(plan.aside);
            saidWords.push_back(SpokenWords(plan.aside));
        } else if (line >= 0) {
            texts.push_back(scriptLines[static_cast<std::size_t>(line)]);
            saidWords.push_back(lineWords[static_cast<std::size_t>(line)]);
        }
    }
    std::vector<SpokenLine> spoken;
    if (reader.engine == Reader::Engine::Festival) {
        spoken = SpeakWithFestival(texts, folder.path());
    } else if (reader.engine == Reader::Engine::Flite) {
        for (std::size_t k = 0; k < texts.size(); ++k)
            spoken.push_back(SpeakWithFlite(reader, texts[k], saidWords[k], folder.path()));
    } else {
        std::vector<std::size_t> wordCounts;
        for (const std::vector<std::string>& words : saidWords)
            wordCounts.push_back(words.size());
        spoken = SpeakWithEspeak(reader, texts, wordCounts, folder.path());
    }
    for (const SpokenLine& line : spoken)
        if (!line.problem.isEmpty()) {
            reading.problem = line.problem;
            return reading;
        }

    plan.eventTimes.clear();
    std::size_t k = 0;
    int previous = -1;
    for (const int line : plan.lines) {
        const double now = static_cast<double>(reading.samples.size()) / kVoiceSampleRate;
        if (line == kAsideLine) {
            // Words off the script place nothing: the place stays on the last.
            const SpokenLine& said = spoken[k++];
            reading.samples.insert(reading.samples.end(), said.samples.begin(), said.samples.end());
            continue;
        }
        if (line == kPauseLine) {
            // Back on the place is timed from when the speaker goes on.
            plan.eventTimes.push_back(now + kPauseSeconds);
            reading.samples.resize(reading.samples.size() +
                                   static_cast<std::size_t>(kPauseSeconds * kVoiceSampleRate));
            continue;
        }
        if (previous >= 0 && line != previous + 1) {
            // A blank line between paragraphs is no skip; a gap is.
            const bool paragraphBreak = line == previous + 2 && lineWords[previous + 1].empty();
            if (paragraphBreak)
                reading.samples.resize(
                    reading.samples.size() +
                    static_cast<std::size_t>(kParagraphGapSeconds * kVoiceSampleRate));
            else
                plan.eventTimes.push_back(now);
        }
        const double at = static_cast<double>(reading.samples.size()) / kVoiceSampleRate;
        const SpokenLine& said = spoken[k++];
        for (std::size_t w = 0; w < said.words.size(); ++w)
            reading.words.push_back(
                {firstWord[static_cast<std::size_t>(line)] + static_cast<int>(w),
                 at + said.words[w].first, at + said.words[w].second});
        reading.samples.insert(reading.samples.end(), said.samples.begin(), said.samples.end());
        previous = line;
    }
    return reading;
}

std::vector<SpokenWord> TimedWords(std::istream& timing, const std::vector<ScriptWord>& script)
{
    constexpr int kReach = 40;
    const int count = static_cast<int>(script.size());
    const auto found = [&](int k, const std::string& text) {
        return k >= 0 && k < count && script[static_cast<std::size_t>(k)].text == text;
    };
    std::vector<SpokenWord> words;
    int at = 0;
    for (std::string line; std::getline(timing, line);) {
        std::istringstream fields(line);
        double start = 0, end = 0;
        std::string word;
        if (!(fields >> start >> end >> word))
            continue;
        const std::vector<std::string> spoken = SpokenWords(word);
        if (spoken.empty())
            continue;
        // "the" is everywhere: a match behind is taken only when none is ahead.
        int d = 0;
        while (d < kReach && !found(at + d, spoken.front()))
            ++d;
        if (d == kReach) {
            d = -1;
            while (d > -kReach && !found(at + d, spoken.front()))
                --d;
        }
        if (d != -kReach)
            at += d;
        words.push_back({at, start, end});
        ++at;
    }
    return words;
}

void AddNoise(std::vector<std::int16_t>& samples, double snrDb, unsigned seed)
{
    // The speech's level: the loud half of the samples, so pauses do not count.
    double power = 0;
    std::size_t loud = 0;
    for (const std::int16_t s : samples)
        if (std::abs(s) > 500) {
            power += static_cast<double>(s) * s;
            ++loud;
        }
    if (loud == 0)
        return;
    const double sigma = std::sqrt(power / static_cast<double>(loud)) / std::pow(10, snrDb / 20);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, sigma);
    for (std::int16_t& s : samples)
        s = static_cast<std::int16_t>(std::clamp(s + noise(random), -32768.0, 32767.0));
}
