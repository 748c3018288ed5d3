#pragma once

#include <QString>

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// The benchmark's test set, made at run time by speech synthesis: a script
// read line by line by a synthetic voice, with the time each word ends.

// A word as it was spoken: its script word and when.
struct SpokenWord {
    int scriptWord = 0; // index among the script's spoken words
    double start = 0;   // seconds from the reading's start
    double end = 0;
};

struct Reading {
    std::vector<std::int16_t> samples; // 16 kHz mono
    std::vector<SpokenWord> words;     // in the order spoken
    QString problem;                   // why there is no reading; empty when made
};

struct ScriptWord;

// The words of a recorded reading's timing file ("start end word" a line,
// seconds), numbered in the script: each is the nearest of its text a
// little way on from the last one found, or else a little way back.
std::vector<SpokenWord> TimedWords(std::istream& timing, const std::vector<ScriptWord>& script);

// Who reads, and how.
struct Reader {
    enum class Engine { Espeak, Flite, Festival };
    Engine engine = Engine::Espeak;
    std::string voice;        // espeak-ng voice, flite voice
    int wordsPerMinute = 175; // espeak-ng only
};

// How the reading goes through the script's lines.
inline constexpr int kPauseLine = -1; // a 5 s pause
inline constexpr int kAsideLine = -2; // the plan's aside
struct ReadingPlan {
    std::vector<int> lines;         // script lines in the order read, or the two above
    std::vector<double> eventTimes; // filled in: when each skip or repeat began, a pause ended
    std::string aside;              // words off the script
};

// Every line in order.
ReadingPlan WholeScript(int lineCount);
// Skips a sentence, repeats one, pauses 5 s and skips a paragraph.
ReadingPlan SkippingReading(const std::vector<std::string>& scriptLines);
// Every line in order, with three sentences off the script in the second
// paragraph, as a presenter speaks to the room.
ReadingPlan ReadingWithAside(int lineCount);

// Reads the script's lines as the plan says; the words are those of
// ScriptWordsOf, numbered as it numbers them.
Reading Synthesize(const Reader& reader, const std::vector<std::string>& scriptLines,
                   ReadingPlan& plan);

// White noise added at snrDb below the speech's level.
void AddNoise(std::vector<std::int16_t>& samples, double snrDb, unsigned seed);
