#include "LiveScript.h"

#include "LineJump.h"
#include "LineStarts.h"
#include "ReadingPosition.h"
#include "ScrollRunState.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace
{
// The offset after each line's LF in text, which holds whole lines.
std::vector<int> LineEnds(std::string_view text)
{
    std::vector<int> ends;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos;
         lf = text.find('\n', lf + 1))
        ends.push_back(static_cast<int>(lf + 1));
    return ends;
}

std::string_view ScriptLine(int k)
{
    const std::string_view script = g_runParams.scriptText.View();
    const int from = LineStart(k);
    return std::string_view(script).substr(static_cast<std::size_t>(from),
                                           static_cast<std::size_t>(LineStart(k + 1) - from));
}

// The lines an edit really changes: those it names, less the ones at
// either end that come back as they were.
struct ChangedLines {
    int first, removed;
    int newFrom, newTo; // the new lines that differ, as line indices in the edit
};

ChangedLines TrimUnchanged(const RunScriptEdit& edit, const std::vector<int>& ends)
{
    const auto newLine = [&](int i) {
        const int from = i == 0 ? 0 : ends[static_cast<std::size_t>(i - 1)];
        return std::string_view(edit.text).substr(
            static_cast<std::size_t>(from),
            static_cast<std::size_t>(ends[static_cast<std::size_t>(i)] - from));
    };
    ChangedLines changed{edit.first, edit.removed, 0, static_cast<int>(ends.size())};
    while (changed.removed > 0 && changed.newFrom < changed.newTo &&
           ScriptLine(changed.first) == newLine(changed.newFrom)) {
        ++changed.first;
        --changed.removed;
        ++changed.newFrom;
    }
    while (changed.removed > 0 && changed.newFrom < changed.newTo &&
           ScriptLine(changed.first + changed.removed - 1) == newLine(changed.newTo - 1)) {
        --changed.removed;
        --changed.newTo;
    }
    return changed;
}

// Replaces the script's bytes and line starts of the changed lines.
void Splice(const ChangedLines& changed, const RunScriptEdit& edit, const std::vector<int>& ends)
{
    const auto endOf = [&](int i) { return i == 0 ? 0 : ends[static_cast<std::size_t>(i - 1)]; };
    const int newFrom = endOf(changed.newFrom);
    const int newLength = endOf(changed.newTo) - newFrom;
    const int oldFrom = LineStart(changed.first);
    const int oldLength = LineStart(changed.first + changed.removed) - oldFrom;
    g_runParams.scriptText.Replace(
        static_cast<std::size_t>(oldFrom), static_cast<std::size_t>(oldLength),
        std::string_view(edit.text).substr(static_cast<std::size_t>(newFrom),
                                           static_cast<std::size_t>(newLength)));

    // Entry k + 1 is where line k ends: the changed lines' entries give way
    // to the new lines' ends, and every later entry moves with the text.
    std::vector<int>& table = g_runState.LineStartTable;
    std::vector<int> starts;
    for (int i = changed.newFrom; i < changed.newTo; ++i)
        starts.push_back(oldFrom + ends[static_cast<std::size_t>(i)] - newFrom);
    // As many lines as before: the entries are overwritten, the table not moved.
    const auto at = table.begin() + changed.first + 1;
    const auto kept = std::min(starts.size(), static_cast<std::size_t>(changed.removed));
    std::copy_n(starts.begin(), kept, at);
    if (kept < starts.size())
        table.insert(at + kept, starts.begin() + kept, starts.end());
    else
        table.erase(at + kept, at + changed.removed);
    const int shift = newLength - oldLength;
    for (auto k = table.begin() + changed.first + 1 + (changed.newTo - changed.newFrom);
         k != table.end(); ++k)
        *k += shift;
    g_runParams.lineCount += (changed.newTo - changed.newFrom) - changed.removed;
}
// The line being read after lines first .. first + removed - 1 became
// added new ones, in a script of lineCount lines after the edit.
int LineReadAfterEdit(int read, int first, int removed, int added, int lineCount)
{
    int after = read;
    if (read >= first + removed)
        after = read + added - removed;
    else if (read >= first && read - first >= added)
        after = first + added;
    return std::min(after, std::max(lineCount - 1, 0));
}
} // namespace

void ApplyRunScriptEdit(RunScriptEdit edit)
{
    // Every line of the script needs its start before lines can be replaced.
    auto& table = g_runState.LineStartTable;
    if (table.size() <= static_cast<std::size_t>(g_runParams.lineCount))
        RecordLineStarts(std::max(static_cast<int>(table.size()) - 1, 0));
    const std::vector<int> ends = LineEnds(edit.text);
    edit.first = std::clamp(edit.first, 0, g_runParams.lineCount);
    edit.removed = std::clamp(edit.removed, 0, g_runParams.lineCount - edit.first);
    const ChangedLines changed = TrimUnchanged(edit, ends);
    ++g_runState.scriptEdits;

    const bool shown = g_runState.primarySurface && g_runState.offscreenSurface;
    const int read = LineBeingRead();
    const std::int64_t row = LineTopOnPicture(read);
    Splice(changed, edit, ends);
    if (!shown || g_runParams.lineCount <= 0)
        return;
    const int added = changed.newTo - changed.newFrom;
    // Lines changed in place leave every row where it was.
    if (added == changed.removed && RedrawLinesInPlace(changed.first, changed.first + added))
        return;
    const int after =
        LineReadAfterEdit(read, changed.first, changed.removed, added, g_runParams.lineCount);
    // Above the first line the picture is placed by line 0, below it.
    const int anchor = std::max(after, 0);
    const std::int64_t pitch = std::max(g_runState.lineHeight, 0) + 1;
    ShowLineAtRow(anchor, row + (anchor - after) * pitch);
}
