#include "RunScriptLink.h"

#include "LineStarts.h"
#include "LiveScript.h"
#include "ReadingPosition.h"
#include "ScriptCapture.h"
#include "ScriptEditor.h"
#include "ScrollRunState.h"

#include <QTextBlock>
#include <QTextLayout>

#include <limits>
#include <numeric>
#include <utility>

namespace
{
// A piece of a script taken after the run's loop has stopped asking, and
// how often: a step waits for one piece at most.
constexpr std::chrono::microseconds kLateRestPiece{500};
constexpr std::chrono::milliseconds kLateRestInterval{4};
} // namespace

RunScriptLink::RunScriptLink(const ScriptEditor& editor, int linesAtOnce)
    : m_editor(editor), m_documentBlocks(editor.document()->blockCount()),
      m_linesAtOnce(linesAtOnce)
{
    g_runParams.scriptText.clear();
    ReserveForCapture(editor, g_runParams.scriptText);
    g_runParams.lineCount = 0;
    m_restTaken = !TakeIntoRun([this](int lines) { return lines >= m_linesAtOnce; });
    connect(editor.document(), &QTextDocument::contentsChange, this,
            &RunScriptLink::OnContentsChange);
    m_lateRest.setInterval(kLateRestInterval);
    connect(&m_lateRest, &QTimer::timeout, this, [this] {
        if (!TakeRestUntil(std::chrono::steady_clock::now() + kLateRestPiece))
            m_lateRest.stop();
    });
}

template <class Text, class Enough>
int RunScriptLink::TakeInto(Text& text, Enough enough, bool justChanged)
{
    int lines = 0;
    for (QTextBlock block =
             m_editor.document()->findBlockByNumber(static_cast<int>(m_blockLines.size()));
         block.isValid() && !enough(lines); block = block.next()) {
        // The editor lays a changed paragraph out anew only after the
        // change is told; until then its old lines would be read.
        if (justChanged)
            block.layout()->clearLayout();
        m_blockLines.push_back(AppendParagraphLines(m_editor, block, text));
        lines += m_blockLines.back();
    }
    return lines;
}

template <class Enough> bool RunScriptLink::TakeIntoRun(Enough enough)
{
    TakeInto(g_runParams.scriptText,
             [&](int lines) { return enough(g_runParams.lineCount + lines); });
    g_runParams.lineCount = RecordLineStarts(g_runParams.lineCount);
    return static_cast<int>(m_blockLines.size()) < m_editor.document()->blockCount();
}

ScriptFeed RunScriptLink::Rest()
{
    if (m_restTaken)
        return {};
    return [this](std::chrono::steady_clock::time_point until) { return TakeRestUntil(until); };
}

bool RunScriptLink::TakeRestUntil(std::chrono::steady_clock::time_point until)
{
    using Clock = std::chrono::steady_clock;
    const int before = g_runParams.lineCount;
    Clock::time_point start = Clock::now();
    Clock::duration cost{};
    // At least one paragraph, then more while the last one's cost fits before until.
    m_restTaken = !TakeIntoRun([&](int lines) {
        if (lines == before)
            return false;
        const Clock::time_point now = Clock::now();
        cost = now - std::exchange(start, now);
        return now + cost >= until;
    });
    return !m_restTaken;
}

int RunScriptLink::LinesBefore(int block) const
{
    return std::accumulate(m_blockLines.begin(), m_blockLines.begin() + block, 0);
}

void RunScriptLink::OnContentsChange(int position, int, int charsAdded)
{
    const QTextDocument& document = *m_editor.document();
    const int blocks = document.blockCount();
    const int first = document.findBlock(position).blockNumber();
    const QTextBlock last = document.findBlock(position + charsAdded);
    const int newBlocks = (last.isValid() ? last.blockNumber() : blocks - 1) - first + 1;
    const int oldBlocks = newBlocks - (blocks - m_documentBlocks);
    m_documentBlocks = blocks;
    const int taken = static_cast<int>(m_blockLines.size());
    if (first < 0 || first >= taken)
        return; // not taken yet: the run takes it as it is when it gets there

    RunScriptEdit edit;
    edit.first = LinesBefore(first);
    const auto linesOf = [this](int from, int to) {
        return std::accumulate(m_blockLines.begin() + from, m_blockLines.begin() + to, 0);
    };
    // The changed paragraphs are taken again, as many as the run needs now;
    // a change reaching past the paragraphs taken, or one too long to take
    // at once, sends the taking back to where this one stopped.
    const bool pastTaken = oldBlocks < 1 || first + oldBlocks > taken;
    const int end = pastTaken ? taken : first + oldBlocks;
    const int removedChanged = linesOf(first, end);
    const int removedToTheEnd = linesOf(first, taken);
    const std::vector<int> after(m_blockLines.begin() + end, m_blockLines.end());
    m_blockLines.resize(static_cast<std::size_t>(first));
    const int needed = std::max(LineBeingRead(), 0) + m_linesAtOnce - edit.first;
    const int until = pastTaken ? std::numeric_limits<int>::max() : first + newBlocks;
    TakeInto(
        edit.text,
        [&](int lines) {
            return lines >= needed || static_cast<int>(m_blockLines.size()) >= until;
        },
        true);
    if (pastTaken || static_cast<int>(m_blockLines.size()) < until) {
        edit.removed = removedToTheEnd;
        // Once the run's loop has taken the rest it asks for no more; the
        // rest comes in pieces between its steps.
        if (m_restTaken)
            m_lateRest.start();
    } else {
        edit.removed = removedChanged;
        m_blockLines.insert(m_blockLines.end(), after.begin(), after.end());
    }
    ApplyRunScriptEdit(std::move(edit));
}

void RunScriptLink::TakeAgain()
{
    // As a change of the whole text, which leaves its paragraphs as they were.
    OnContentsChange(0, 0, m_editor.document()->characterCount());
}

int RunScriptLink::CursorLine()
{
    const QTextCursor cursor = m_editor.textCursor();
    const int block = cursor.blockNumber();
    TakeIntoRun([this, block](int) { return static_cast<int>(m_blockLines.size()) > block; });
    const QTextLine line = cursor.block().layout()->lineForTextPosition(cursor.positionInBlock());
    return LinesBefore(std::min(block, static_cast<int>(m_blockLines.size()))) +
           (line.isValid() ? line.lineNumber() : 0);
}
