#include "RunVoice.h"

#include "Countdown.h"
#include "PrompterCommands.h"
#include "PrompterStatus.h"
#include "ReadingPosition.h"
#include "ScrollRunState.h"
#include "Surface.h"

#include <algorithm>

namespace
{
using Clock = std::chrono::steady_clock;

// How often the run looks at the voice: often enough that the text starts
// and stops within a frame or two of the speaker.
constexpr std::chrono::milliseconds kVoiceLookInterval{30};
std::vector<ScriptWord> RunScriptWords()
{
    return ScriptWordsOf(g_runParams.scriptText.View());
}

// The first script word on line or after it.
int FirstWordFrom(const std::vector<int>& lines, int line)
{
    return static_cast<int>(std::lower_bound(lines.begin(), lines.end(), line) - lines.begin());
}
} // namespace

std::vector<RunVoice::WordPlace> RunVoice::PlacesOf(const std::vector<ScriptWord>& words)
{
    const std::vector<double> moments = WordMomentsInLines(words);
    std::vector<WordPlace> places;
    places.reserve(words.size());
    for (std::size_t k = 0; k < words.size(); ++k)
        places.push_back({words[k].line, moments[k]});
    return places;
}

int VoiceReadingRow()
{
    return g_runParams.readingCue.shown ? ReadingRow() : Surface::kHeight / 3;
}

RunVoice::RunVoice() : RunVoice(RunScriptWords()) {}

// The script is split into words once: a long one takes a while.
RunVoice::RunVoice(std::vector<ScriptWord> words)
    : m_places(PlacesOf(words)), m_follower(std::move(words), g_runParams.voice)
{
    m_seenJumps = g_runState.jumps;
    m_leftPaused = g_runState.paused;
    g_runState.voice = VoiceState::Listening;
    g_runState.voiceProblem.clear();
}

RunVoice::~RunVoice()
{
    g_runState.voice = VoiceState::Off;
}

void RunVoice::Run(PrompterCommand command, int amount)
{
    RunPrompterCommand(command, amount);
    m_seenJumps = g_runState.jumps;
    m_leftPaused = g_runState.paused;
}

bool RunVoice::NoticeOthers()
{
    if (g_runState.jumps != m_seenJumps) {
        m_seenJumps = g_runState.jumps;
        const int pitch = LinePitch();
        const int line =
            static_cast<int>(FloorDivide(VoiceReadingRow() - LineTopOnPicture(0), pitch));
        std::vector<int> lines;
        lines.reserve(m_places.size());
        for (const WordPlace& place : m_places)
            lines.push_back(place.line);
        m_follower.PlaceBefore(FirstWordFrom(lines, line));
    }
    if (g_runState.paused != m_leftPaused) {
        m_heldByOperator = g_runState.paused;
        m_leftPaused = g_runState.paused;
    }
    return m_heldByOperator || CountingDown() || g_runState.direction != ScrollDirection::Forward;
}

Clock::time_point RunVoice::Follow(Clock::time_point now)
{
    const VoiceState state = m_follower.State();
    g_runState.voice = state;
    if (state == VoiceState::Off && g_runState.voiceProblem.isEmpty())
        g_runState.voiceProblem = m_follower.Problem();
    if (NoticeOthers())
        return now + kVoiceLookInterval;
    const int placed = m_follower.PlacedWord();
    if (state == VoiceState::Lost || m_places.empty() ||
        placed >= static_cast<int>(m_places.size()))
        Hold();
    else if (placed < 0)
        MakeReady(m_places.front());
    else
        Steer(m_places[static_cast<std::size_t>(placed)]);
    return now + kVoiceLookInterval;
}

void RunVoice::Hold()
{
    if (!g_runState.paused)
        Run(PrompterCommand::Pause);
}

double RunVoice::GapTo(const WordPlace& word)
{
    return static_cast<double>(LineTopOnPicture(word.line)) + word.withinLine * LinePitch() -
           VoiceReadingRow();
}

void RunVoice::MakeReady(const WordPlace& first)
{
    Move(ScrollTowardsVoice(GapTo(first), LinePitch()), first);
}

void RunVoice::Steer(const WordPlace& word)
{
    Move(SteerTowardsVoice(GapTo(word), LinePitch()), word);
}

void RunVoice::Move(const VoiceSteer& steer, const WordPlace& word)
{
    switch (steer.kind) {
    case VoiceSteer::Kind::Hold:
        Hold();
        break;
    case VoiceSteer::Kind::Show: {
        // ShowLine puts a line at the run's own reading place; the voice's
        // may lie lines below it.
        // Lines that near the start cannot come as far down are shown from
        // the top, once.
        const int linesAbove = (VoiceReadingRow() - ReadingLineTop()) / LinePitch();
        const int shown = std::max(word.line - linesAbove, 0);
        if (shown == LineBeingRead())
            Hold();
        else
            Run(PrompterCommand::ShowLine, shown);
        break;
    }
    case VoiceSteer::Kind::Scroll:
        if (g_runState.paused)
            Run(PrompterCommand::Resume);
        if (g_runState.speedValue != steer.speedValue)
            Run(PrompterCommand::SetSpeed, steer.speedValue);
        break;
    }
}
