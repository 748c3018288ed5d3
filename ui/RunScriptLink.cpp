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
}

template <class Enough> int RunScriptLink::TakeInto(std::string& text, Enough enough)
{
    int lines = 0;
    for (QTextBlock block =
             m_editor.document()->findBlockByNumber(static_cast<int>(m_blockLines.size()));
         block.isValid() && !enough(lines); block = block.next()) {
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
    return [this](std::chrono::steady_clock::time_point until) {
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
    };
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
    // A change reaching past the paragraphs taken sends the taking back to
    // its first paragraph, and as much is taken again as the run needs now.
    const bool pastTaken = oldBlocks < 1 || first + oldBlocks > taken;
    const int end = pastTaken ? taken : first + oldBlocks;
    edit.removed = std::accumulate(m_blockLines.begin() + first, m_blockLines.begin() + end, 0);
    const std::vector<int> after(m_blockLines.begin() + end, m_blockLines.end());
    m_blockLines.resize(static_cast<std::size_t>(first));
    // The editor lays the changed paragraphs out anew only after this is
    // told; until then their old lines would be read.
    for (QTextBlock block = document.findBlockByNumber(first);
         block.isValid() && block.blockNumber() < first + std::max(newBlocks, 1);
         block = block.next())
        block.layout()->clearLayout();
    if (pastTaken) {
        // Once the run's loop has taken the rest it asks for no more, so all
        // of it is taken now.
        const int needed = m_restTaken ? std::numeric_limits<int>::max()
                                       : std::max(LineBeingRead(), 0) + m_linesAtOnce - edit.first;
        TakeInto(edit.text, [needed](int lines) { return lines >= needed; });
    } else {
        const int until = first + newBlocks;
        TakeInto(edit.text,
                 [this, until](int) { return static_cast<int>(m_blockLines.size()) >= until; });
        m_blockLines.insert(m_blockLines.end(), after.begin(), after.end());
    }
    ApplyRunScriptEdit(std::move(edit));
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
