#include "PrompterCommands.h"
#include "ReadingPosition.h"
#include "RunVoice.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "TextRaster.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

namespace
{
// Short lines, so that the line being read tells the place to a few words;
// enough of them after the lines read that the run's end, with the last
// line at the bottom, does not stop it short of the reading place.
constexpr const char* kLines[] = {
    "Good evening and welcome",
    "to the harbour report.",
    "The fishing fleet returned",
    "early this morning after",
    "a storm passed to the north.",
    "Captains said the waves",
    "reached six metres before dawn.",
    "",
    "In the town council",
    "the new bridge plan",
    "was approved by a narrow vote.",
    "Work begins in the spring",
    "and should last two years.",
    "Traders worry that the old road",
    "will close while it is built.",
    "",
    "The school choir won",
    "the regional contest",
    "for the third time running.",
    "Parents filled the hall",
    "and the singers were cheered",
    "long after the final song.",
    "",
    "Weather now, and a cold front",
    "brings rain to the valleys tonight.",
    "Tomorrow stays grey",
    "with light winds from the west",
    "and showers in the hills.",
    "By the weekend the sun returns",
    "and temperatures climb towards",
    "the seasonal average.",
    "",
    "That is all from the harbour report,",
    "thank you for listening and good night.",
};
constexpr int kLinesRead = 15; // up to "will close while it is built."

// Speaks text into a 16 kHz mono WAV at path; false without the tools.
bool Synthesize(const QString& text, const QString& path)
{
    const QString espeak = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    const QString sox = QStandardPaths::findExecutable(QStringLiteral("sox"));
    if (espeak.isEmpty() || sox.isEmpty())
        return false;
    const QString raw = path + QStringLiteral(".22k.wav");
    // A reader pauses before and after.
    return QProcess::execute(espeak, {"-v", "en-us", "-s", "170", "-w", raw, text}) == 0 &&
           QProcess::execute(
               sox, {raw, "-r", "16000", "-c", "1", "-b", "16", path, "pad", "0.5", "1.5"}) == 0;
}
} // namespace

TEST(VoiceRun, ASpokenReadingMovesTheRunToTheLineBeingSpoken)
{
    const QTemporaryDir folder;
    std::string script;
    QString spoken;
    for (int line = 0; line < static_cast<int>(std::size(kLines)); ++line) {
        script += std::string(kLines[line]) + "\r\n";
        if (line < kLinesRead)
            spoken += QString::fromUtf8(kLines[line]) + QLatin1Char(' ');
    }
    const QString wav = folder.path() + QStringLiteral("/reading.wav");
    if (!Synthesize(spoken, wav))
        GTEST_SKIP() << "espeak-ng and sox make the reading";

    g_runParams = ScrollRunParams{};
    g_runState = ScrollRunState{};
    g_runParams.scriptText = script;
    g_runParams.lineCount = static_cast<int>(std::size(kLines));
    g_runParams.textColor = 0x000000;
    g_runParams.backColor = 0xFFFFFF;
    g_runParams.speedValue = 16000;
    g_runParams.voice.enabled = true;
    g_runParams.voice.inputFile = wav;
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);

    // The reading lasts about twenty seconds. Made ready before anyone
    // speaks, the run shows the first line at the reading place as the
    // first words are heard. Once the follower has gone from following
    // back to listening, the run should show the last line read at the
    // reading place, and hold it there through the silence.
    bool followed = false;
    int lineWhenFirstHeard = -99;
    int lineAtTheEnd = -1;
    int lineAfterSilence = -1;
    int ticksSinceTheEnd = 0;
    int ticks = 0;
    QTimer watch;
    watch.setInterval(100);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const int pitch = std::max(g_runState.lineHeight, 0) + 1;
        const int reading =
            static_cast<int>(FloorDivide(VoiceReadingRow() - LineTopOnPicture(0), pitch));
        if (!followed && g_runState.voice == VoiceState::Following)
            lineWhenFirstHeard = reading;
        followed = followed || g_runState.voice == VoiceState::Following;
        if (lineAtTheEnd < 0 && followed && g_runState.voice == VoiceState::Listening)
            lineAtTheEnd = reading;
        if (lineAtTheEnd >= 0 && ++ticksSinceTheEnd == 20)
            lineAfterSilence = reading;
        if (lineAfterSilence >= 0 || ++ticks == 900)
            RunPrompterCommand(PrompterCommand::Stop);
    });
    watch.start();
    StartScrollRun(false);

    EXPECT_TRUE(followed);
    EXPECT_NEAR(lineWhenFirstHeard, 0, 1);
    EXPECT_NEAR(lineAtTheEnd, kLinesRead - 1, 1);
    EXPECT_EQ(lineAfterSilence, lineAtTheEnd);
    EXPECT_EQ(g_runState.voice, VoiceState::Off);
    g_runParams = ScrollRunParams{};
    g_runState = ScrollRunState{};
}
