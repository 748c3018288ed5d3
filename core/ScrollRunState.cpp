#include "ScrollRunState.h"

ScrollRunParams g_runParams;
ScrollRunState g_runState;

void ResetMotionForNewRun()
{
    g_runState.paused = true;
    g_runState.direction = ScrollDirection::Forward;
    g_runState.directionChangeRequested = false;
    g_runState.timeMoved = {};
    g_runState.movingSince.reset();
    g_runState.countdownEnds.reset();
    g_runState.firstMoved.reset();
    g_runState.pace = PaceMeter{};
    g_runState.typedStory = StoryNumberEntry{};
    g_runState.lineRead = INT_MIN;
    g_runState.paragraphArrival.reset();
    g_runState.paragraphs = {};
    ++g_runState.scriptEdits;
}

void SetLineStart(int k, int offset)
{
    if (k < 0)
        return;
    auto& table = g_runState.LineStartTable;
    if (static_cast<std::size_t>(k) >= table.size())
        table.resize(static_cast<std::size_t>(k) + 1, 0);
    table[static_cast<std::size_t>(k)] = offset;
}

int LineStart(int k)
{
    const auto& table = g_runState.LineStartTable;
    if (k < 0 || static_cast<std::size_t>(k) >= table.size())
        return static_cast<int>(g_runParams.scriptText.size());
    return table[static_cast<std::size_t>(k)];
}
