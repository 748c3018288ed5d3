#include "ScriptCapture.h"

#include "ScriptEditor.h"
#include "ScriptEncoding.h"

#include <QPlainTextDocumentLayout>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace
{

// The longest part of one displayed line that reaches the prompter.
constexpr int kMaxCapturedLine = 99;

// The most bytes a text of `characters` UTF-16 units can capture to: three
// for each unit, and a CR LF for every displayed line, of which there are
// no more than units and paragraphs. Reserved at once, so that the text is
// never moved while a run reads it (pages not written are never touched).
std::size_t MostCapturedBytes(int characters)
{
    return static_cast<std::size_t>(std::max(characters, 0)) * 5 + 2;
}

} // namespace

CapturedScript CaptureScript(const ScriptEditor& editor)
{
    ScriptText text;
    ScriptCapture capture(editor);
    capture.AppendLines(text, std::numeric_limits<int>::max());
    CapturedScript script;
    script.text = text.View();
    script.lineCount = capture.LinesTaken();
    return script;
}

ScriptCapture::ScriptCapture(const ScriptEditor& editor)
    : m_editor(editor), m_next(editor.document()->begin())
{
}

bool ScriptCapture::AppendLines(ScriptText& text, int lines)
{
    while (m_next.isValid() && m_lines < lines)
        AppendParagraph(text);
    return m_next.isValid();
}

bool ScriptCapture::AppendUntil(ScriptText& text, Clock::time_point until)
{
    do
        AppendParagraph(text);
    while (m_next.isValid() && Clock::now() + m_paragraphTime < until);
    return m_next.isValid();
}

void ReserveForCapture(const ScriptEditor& editor, ScriptText& text)
{
    text.reserve(text.size() + MostCapturedBytes(editor.document()->characterCount()));
}

void ScriptCapture::AppendParagraph(ScriptText& text)
{
    if (m_lines == 0)
        ReserveForCapture(m_editor, text);
    const Clock::time_point start = Clock::now();
    m_lines += AppendParagraphLines(m_editor, m_next, text);
    m_next = m_next.next();
    // A running average, so that one slow paragraph does not stop the next pieces.
    m_paragraphTime += (Clock::now() - start - m_paragraphTime) / 4;
}

template <class Text>
int AppendParagraphLines(const ScriptEditor& editor, const QTextBlock& block, Text& text)
{
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(editor.document()->documentLayout());
    layout->ensureBlockLayout(block);
    const QTextLayout* lines = block.layout();
    const QString paragraph = block.text();
    // An empty paragraph still shows one line.
    const int count = std::max(1, lines->lineCount());
    for (int i = 0; i < count; ++i) {
        const QTextLine line = lines->lineAt(i);
        // The prompter reads each line as UTF-8 when it can; a Windows-1252
        // line whose bytes happened to form UTF-8 would show other letters.
        if (line.isValid()) {
            const QByteArray bytes =
                EncodeScriptText(ScriptEditor::DisplayedText(paragraph, line, kMaxCapturedLine),
                                 ScriptEncoding::Utf8);
            text.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        text += "\r\n";
    }
    return count;
}

template int AppendParagraphLines(const ScriptEditor&, const QTextBlock&, std::string&);
template int AppendParagraphLines(const ScriptEditor&, const QTextBlock&, ScriptText&);
