#include "ScriptWords.h"
#include "VoiceReadings.h"
#include "VoiceScore.h"
#include "WavFile.h"

#include <QFile>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <fstream>

// How well the run follows a voice. Each case synthesizes one reading of
// the harbour report at run time (espeak-ng, flite, festival; clean and with
// noise) and scores it; VoiceFollow/File scores any 16 kHz mono WAV with a
// word-timing file ("start end word" a line, seconds) against its script:
//   VELLOR_VOICE_SCRIPT=script.txt VELLOR_VOICE_WAV=read.wav
//   VELLOR_VOICE_WORDS=read.words bench_voice_follow --benchmark_filter=File
// Synthetic voices are kinder than people: steady pace, clear phones.

namespace
{
std::vector<std::string> ScriptLines(const QString& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path.toStdString());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

void Report(benchmark::State& state, const VoiceScore& score)
{
    state.counters["within1"] = score.withinOneLine * 100;
    state.counters["within2"] = score.withinTwoLines * 100;
    state.counters["lagMed_s"] = score.lagMedian;
    state.counters["lagP95_s"] = score.lagP95;
    state.counters["wrongJumps"] = score.wrongJumps;
    state.counters["recover_s"] = score.worstRecovery;
    state.counters["pauseDrift"] = score.pauseDrift;
    state.counters["cpu%"] = score.processorShare * 100;
    state.counters["audio_s"] = score.audioSeconds;
}

enum class Plan { Whole, Skipping, Aside };

struct SynthesizedCase {
    Reader reader;
    double snrDb = 0; // 0: clean
    Plan plan = Plan::Whole;
};

void VoiceFollow(benchmark::State& state, SynthesizedCase c)
{
    const std::vector<std::string> lines = ScriptLines(QStringLiteral(VELLOR_VOICE_BENCH_SCRIPT));
    const std::vector<ScriptWord> script = ScriptWordsOf(Joined(lines));
    for (auto _ : state) {
        const int lineCount = static_cast<int>(lines.size());
        ReadingPlan plan = c.plan == Plan::Skipping ? SkippingReading(lines)
                           : c.plan == Plan::Aside  ? ReadingWithAside(lineCount)
                                                    : WholeScript(lineCount);
        Reading reading = Synthesize(c.reader, lines, plan);
        if (!reading.problem.isEmpty()) {
            state.SkipWithError(reading.problem.toStdString().c_str());
            return;
        }
        if (c.snrDb > 0)
            AddNoise(reading.samples, c.snrDb, 26);
        QString problem;
        const VoiceScore score = ScoreReading(script, reading, plan.eventTimes, problem);
        if (!problem.isEmpty()) {
            state.SkipWithError(problem.toStdString().c_str());
            return;
        }
        Report(state, score);
    }
}

void VoiceFollowFile(benchmark::State& state)
{
    const QString scriptPath = qEnvironmentVariable("VELLOR_VOICE_SCRIPT");
    const QString wav = qEnvironmentVariable("VELLOR_VOICE_WAV");
    const QString timing = qEnvironmentVariable("VELLOR_VOICE_WORDS");
    if (scriptPath.isEmpty() || wav.isEmpty() || timing.isEmpty()) {
        state.SkipWithError("set VELLOR_VOICE_SCRIPT, VELLOR_VOICE_WAV and VELLOR_VOICE_WORDS");
        return;
    }
    const std::vector<ScriptWord> script = ScriptWordsOf(Joined(ScriptLines(scriptPath)));
    for (auto _ : state) {
        WavSamples samples = ReadVoiceWav(wav);
        if (!samples.problem.isEmpty()) {
            state.SkipWithError(samples.problem.toStdString().c_str());
            return;
        }
        std::ifstream timed(timing.toStdString());
        Reading reading{std::move(samples.samples), TimedWords(timed, script), {}};
        // Skips and repeats: wherever the words do not follow one another.
        std::vector<double> events;
        for (std::size_t w = 1; w < reading.words.size(); ++w)
            if (reading.words[w].scriptWord != reading.words[w - 1].scriptWord + 1)
                events.push_back(reading.words[w].start);
        QString problem;
        const VoiceScore score = ScoreReading(script, reading, events, problem);
        if (!problem.isEmpty()) {
            state.SkipWithError(problem.toStdString().c_str());
            return;
        }
        Report(state, score);
    }
}

using E = Reader::Engine;
constexpr double kClean = 0;
#define VOICE_CASES(name, reader)                                                                  \
    BENCHMARK_CAPTURE(VoiceFollow, name##_clean, SynthesizedCase{reader, kClean})                  \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kSecond);                                                                \
    BENCHMARK_CAPTURE(VoiceFollow, name##_20dB, SynthesizedCase{reader, 20})                       \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kSecond);                                                                \
    BENCHMARK_CAPTURE(VoiceFollow, name##_10dB, SynthesizedCase{reader, 10})                       \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kSecond)

VOICE_CASES(espeak_us_150, (Reader{E::Espeak, "en-us", 150}));
VOICE_CASES(espeak_us_185, (Reader{E::Espeak, "en-us", 185}));
VOICE_CASES(espeak_us_220, (Reader{E::Espeak, "en-us", 220}));
VOICE_CASES(espeak_f3_150, (Reader{E::Espeak, "en-us+f3", 150}));
VOICE_CASES(espeak_f3_185, (Reader{E::Espeak, "en-us+f3", 185}));
VOICE_CASES(espeak_f3_220, (Reader{E::Espeak, "en-us+f3", 220}));
VOICE_CASES(flite_slt, (Reader{E::Flite, "slt"}));
VOICE_CASES(flite_rms, (Reader{E::Flite, "rms"}));
VOICE_CASES(flite_awb, (Reader{E::Flite, "awb"}));
VOICE_CASES(festival_slt_hts, (Reader{E::Festival, ""}));
BENCHMARK_CAPTURE(VoiceFollow, espeak_us_185_skipping,
                  SynthesizedCase{Reader{E::Espeak, "en-us", 185}, kClean, Plan::Skipping})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
// Speech off the script should hold the place, in quiet and in loud noise.
BENCHMARK_CAPTURE(VoiceFollow, espeak_us_185_aside,
                  SynthesizedCase{Reader{E::Espeak, "en-us", 185}, kClean, Plan::Aside})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(VoiceFollow, espeak_us_185_aside_10dB,
                  SynthesizedCase{Reader{E::Espeak, "en-us", 185}, 10, Plan::Aside})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(VoiceFollowFile)->Name("VoiceFollow/File")->Iterations(1)->Unit(benchmark::kSecond);
} // namespace
