#pragma once

#include "ScriptText.h"

#include <QTextBlock>

#include <chrono>
#include <string>

class ScriptEditor;

// What a scroll run shows: the editor's lines as it displays them, so a
// wrapped paragraph gives one prompter line per displayed line.
struct CapturedScript {
    std::string text;  ///< each line's first 99 characters, each followed by CR LF
    int lineCount = 0; ///< the number of lines taken: every displayed line
};

/// Captures every displayed line of `editor`, at most 99 characters of each,
/// as UTF-8, each followed by CR LF.
CapturedScript CaptureScript(const ScriptEditor& editor);

/// Appends the displayed lines of paragraph `block` of `editor` to `text`
/// (a std::string or a ScriptText) as CaptureScript does, laying the
/// paragraph out first; answers how many.
template <class Text>
int AppendParagraphLines(const ScriptEditor& editor, const QTextBlock& block, Text& text);

/// Makes room in `text` for every line of `editor`, so that capturing it
/// never moves the text.
void ReserveForCapture(const ScriptEditor& editor, ScriptText& text);

/// Captures the displayed lines of an editor in order, a paragraph at a time,
/// laying out only the paragraphs it reaches: laying out a script of many
/// megabytes takes seconds, so its first screens can be taken at once and
/// the rest later. The editor's text, font and width must not change
/// meanwhile.
class ScriptCapture
{
  public:
    using Clock = std::chrono::steady_clock;

    /// Starts at the first displayed line of `editor`, which must outlive this.
    explicit ScriptCapture(const ScriptEditor& editor);

    /// Appends the lines of the next paragraphs to `text` as CaptureScript
    /// does, until at least `lines` lines have been taken in all; answers
    /// whether lines remain.
    bool AppendLines(ScriptText& text, int lines);
    /// Appends the lines of at least one more paragraph, and of further ones
    /// while the moment `until` seems far enough off; answers whether lines
    /// remain.
    bool AppendUntil(ScriptText& text, Clock::time_point until);

    /// The number of lines taken so far.
    int LinesTaken() const { return m_lines; }

  private:
    void AppendParagraph(ScriptText& text);

    const ScriptEditor& m_editor;
    QTextBlock m_next;                 // the next paragraph to take
    int m_lines = 0;                   // lines taken so far
    Clock::duration m_paragraphTime{}; // what taking a paragraph costs, on average
};
