#include "VoiceScore.h"

#include "AudioSource.h"
#include "Recogniser.h"
#include "VoiceListener.h"
#include "VoiceSteering.h"
#include "WavFile.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>

namespace
{
// The model run: a line pitch of a 48-point face on the 480-row picture,
// the reading place a third down, the run looking at the voice every 30 ms
// as the real one does, the text first standing in the picture's lower half.
constexpr int kModelPitch = 40;
constexpr double kModelReadingRow = 160;
constexpr double kModelFirstTop = 360;
constexpr double kLookSeconds = 0.03;

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// The model of the run's picture: where line 0's top stands.
struct ModelRun {
    double firstTop = kModelFirstTop;
    double rowsPerSecond = 0;

    int LineAtPlace() const
    {
        return static_cast<int>(std::floor((kModelReadingRow - firstTop) / kModelPitch));
    }
    // rule: SteerTowardsVoice, or ScrollTowardsVoice before the first word.
    void Steer(int line, double withinLine, VoiceSteer (*rule)(double, int))
    {
        const double gap = firstTop + (line + withinLine) * kModelPitch - kModelReadingRow;
        const VoiceSteer steer = rule(gap, kModelPitch);
        rowsPerSecond = 0;
        if (steer.kind == VoiceSteer::Kind::Scroll)
            rowsPerSecond = steer.speedValue > 0 ? 1e6 / steer.speedValue : 1000;
        else if (steer.kind == VoiceSteer::Kind::Show) {
            // ShowLine puts a line at the top; the reading place is lines below.
            const int above = static_cast<int>(kModelReadingRow) / kModelPitch;
            firstTop = -std::max(line - above, 0) * kModelPitch;
        }
    }
};
} // namespace

VoiceScore ScoreReading(const std::vector<ScriptWord>& script, const Reading& reading,
                        const std::vector<double>& eventTimes, QString& problem)
{
    VoiceScore score;
    const std::vector<double> withinLine = WordMomentsInLines(script);
    std::unique_ptr<VoiceListener> listener;
    try {
        listener = std::make_unique<VoiceListener>(script);
    } catch (const RecogniserError& error) {
        problem = QString::fromStdString(error.what());
        return score;
    }
    if (reading.words.empty()) {
        problem = QStringLiteral("the reading has no words");
        return score;
    }

    ModelRun run;
    std::size_t spoken = 0; // the next truth word to begin
    double cpu = 0, nextLook = 0, lastSecond = 0;
    int timeCounted = 0, withinOne = 0, withinTwo = 0, lastLine = run.LineAtPlace();
    std::vector<double> lags;
    std::vector<double> recoveries(eventTimes.size(), -1);
    const double from = reading.words.front().start, to = reading.words.back().end;
    // Words that begin a line, with the time their line first reached the place.
    std::vector<double> reached(reading.words.size(), -1);
    double pauseTopAtStart = 0;
    bool inPause = false;
    const double tick = 0.01;
    const auto pieces = reading.samples.size() / kVoicePieceSamples;
    for (std::size_t p = 0; p < pieces; ++p) {
        const double started = ThreadSeconds();
        listener->Hear(
            std::span(reading.samples).subspan(p * kVoicePieceSamples, kVoicePieceSamples));
        cpu += ThreadSeconds() - started;
        const double pieceEnd =
            static_cast<double>((p + 1) * kVoicePieceSamples) / kVoiceSampleRate;
        const int placed = listener->Placed();
        const bool lost = listener->State() == VoiceState::Lost;
        for (double t = lastSecond; t < pieceEnd; t += tick) {
            if (t >= nextLook) {
                nextLook = t + kLookSeconds;
                if (lost)
                    run.rowsPerSecond = 0;
                else if (placed < 0)
                    run.Steer(script.front().line, withinLine.front(), ScrollTowardsVoice);
                else
                    run.Steer(script[placed].line, withinLine[placed], SteerTowardsVoice);
            }
            run.firstTop -= run.rowsPerSecond * tick;
            while (spoken < reading.words.size() && reading.words[spoken].start <= t)
                ++spoken;
            const int line = run.LineAtPlace();
            // Before the first word no move is a jump.
            if (spoken == 0) {
                lastLine = line;
                continue;
            }
            const SpokenWord& now = reading.words[spoken - 1];
            const int truthLine = script[now.scriptWord].line;
            if (t >= from && t <= to) {
                ++timeCounted;
                withinOne += std::abs(line - truthLine) <= 1;
                withinTwo += std::abs(line - truthLine) <= 2;
            }
            // A move that leaves the reading line more than 2 lines off: out
            // of the band, or a jump from one wrong place to another.
            if (line != lastLine && std::abs(line - truthLine) > 2 &&
                (std::abs(lastLine - truthLine) <= 2 || std::abs(line - lastLine) > 1))
                ++score.wrongJumps;
            lastLine = line;
            // A line is reached when it or the next stands at the place: a run
            // far ahead has reached nothing.
            for (std::size_t w = 0; w < spoken; ++w)
                if (reached[w] < 0 && line - script[reading.words[w].scriptWord].line >= 0 &&
                    line - script[reading.words[w].scriptWord].line <= 1 &&
                    (w == 0 || script[reading.words[w - 1].scriptWord].line !=
                                   script[reading.words[w].scriptWord].line))
                    reached[w] = t;
            for (std::size_t e = 0; e < eventTimes.size(); ++e)
                if (recoveries[e] < 0 && t >= eventTimes[e] && placed >= 0 &&
                    std::abs(placed - now.scriptWord) <= 3 && now.start >= eventTimes[e])
                    recoveries[e] = t - eventTimes[e];
            // A pause: the words stop for more than 4 s.
            const bool silent = spoken < reading.words.size() &&
                                reading.words[spoken].start - now.end > 4 && t > now.end + 0.5 &&
                                t < reading.words[spoken].start;
            if (silent && !inPause)
                pauseTopAtStart = run.firstTop;
            if (silent)
                score.pauseDrift = std::max(score.pauseDrift,
                                            std::abs(run.firstTop - pauseTopAtStart) / kModelPitch);
            inPause = silent;
        }
        lastSecond = pieceEnd;
    }
    for (std::size_t w = 0; w < reading.words.size(); ++w)
        if (w == 0 || script[reading.words[w - 1].scriptWord].line !=
                          script[reading.words[w].scriptWord].line)
            lags.push_back(reached[w] < 0 ? to - reading.words[w].end
                                          : std::max(reached[w] - reading.words[w].end, 0.0));
    score.audioSeconds = static_cast<double>(reading.samples.size()) / kVoiceSampleRate;
    score.withinOneLine = timeCounted ? static_cast<double>(withinOne) / timeCounted : 0;
    score.withinTwoLines = timeCounted ? static_cast<double>(withinTwo) / timeCounted : 0;
    score.lagMedian = Percentile(lags, 0.5);
    score.lagP95 = Percentile(lags, 0.95);
    for (const double r : recoveries)
        score.worstRecovery = std::max(score.worstRecovery, r < 0 ? 99.0 : r);
    score.processorShare = cpu / score.audioSeconds;
    return score;
}
