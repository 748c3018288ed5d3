#pragma once

#include "ColorRef.h"
#include "ScriptEncoding.h"

#include <QByteArray>
#include <QPlainTextEdit>
#include <QString>
#include <QTextLine>
#include <vector>

/// A range of character positions in the editor; a line break counts as one
/// character. cpMin == cpMax is a caret without a selection.
struct CharRange {
    int cpMin = 0; ///< first position of the range
    int cpMax = 0; ///< position after the range
    bool operator==(const CharRange&) const = default;
};

/// A script's bytes and the encoding they are in.
struct EncodedScript {
    QByteArray bytes;        ///< the text as stored
    ScriptEncoding encoding; ///< the encoding of `bytes`
};

// The script editor of the control window. It offers the operations the
// control window needs of its editor, on the terms it relies on:
// - the window text is bytes, and a text just set reads back as the same
//   bytes (its line breaks in whatever mix of CR, LF and CR LF they came),
//   so a freshly loaded script never counts as changed; once the operator has
//   edited the text, every line break reads back as LF;
// - lines are counted and read as the editor displays them: paragraphs wrap
//   at the editor's width, each displayed line counts, an empty editor shows
//   one line; a very long text may hold several lines in one paragraph,
//   which changes none of this;
// - a line break the operator makes, by any key or by pasting, is a line
//   break like any other; only a text as set holds genuine U+2028 characters;
// - the undo history, clipboard and selection are the editor's own.
// Set the text through SetText() only: it records the bytes Text() answers.
class ScriptEditor : public QPlainTextEdit
{
    Q_OBJECT
  public:
    /// An empty editor whose lines wrap at its width, with a vertical scroll bar only.
    explicit ScriptEditor(QWidget* parent = nullptr);

    /// Replaces the whole text with `bytes` (decoded by the script encoding
    /// rule) and clears the undo history.
    void SetText(const QByteArray& bytes);
    /// The whole text as bytes, in the encoding the text was set with, or in
    /// UTF-8 once it holds characters that encoding cannot store.
    QByteArray Text() const;
    /// The bytes Text() answers, with the encoding they are in.
    EncodedScript TextWithEncoding() const;
    /// The whole text with every line break as LF.
    QString EditedText() const;
    /// Replaces the whole text with `text` as one edit, which undo takes back;
    /// the text as set stays what Text() compares with.
    void ReplaceText(const QString& text);
    /// The number of characters, a line break counting one; 0 exactly for an empty editor.
    int TextLength() const;

    /// The number of lines as displayed, wrapped lines counted separately; at least 1.
    int LineCount() const;
    /// Displayed line `index`, at most `maxChars` characters of it, without its
    /// line break; empty for an index out of range.
    QString Line(int index, int maxChars) const;

    /// What displayed line `line` of a paragraph whose text is `paragraph`
    /// shows, at most `maxChars` characters of it: without the U+2028 that
    /// breaks a line inside a paragraph, and never half a surrogate pair.
    static QString DisplayedText(const QString& paragraph, const QTextLine& line, int maxChars);

    /// The selection, cpMin <= cpMax.
    CharRange Selection() const;
    /// Sets the selection: cpMin -1 removes it (the caret stays), cpMax -1
    /// means the end of the text, so (0, -1) selects everything and (0, 0)
    /// puts the caret at the start. Positions are clamped to the text.
    void SetSelection(int cpMin, int cpMax);
    /// The selected text, line breaks as LF.
    QString SelectedText() const;
    /// Hides the selection's highlight (true) or shows it again (false).
    void HideSelection(bool hide);

    /// Whether there is an edit to undo.
    bool CanUndo() const;
    /// Whether there is an undone edit to redo.
    bool CanRedo() const;
    /// Whether the clipboard holds text to paste.
    bool CanPaste() const;

    /// Sets the font of the whole text.
    void SetEditorFont(const QFont& font);
    /// Sets the background colour behind the text.
    void SetBackgroundColor(ColorRef color);
    /// Sets the colour of the text.
    void SetDefaultTextColor(ColorRef color);
    /// The encoding the text was set with, and in which Text() answers.
    ScriptEncoding Encoding() const { return m_encoding; }

  protected:
    /// Leaves the keys of the window's shortcuts to the window.
    bool event(QEvent* event) override;
    /// Shift+Enter breaks the line as Enter does; a key of the window's shortcuts does nothing.
    void keyPressEvent(QKeyEvent* event) override;
    /// Pasted or dropped text comes in with every line separator as a line break.
    void insertFromMimeData(const QMimeData* source) override;

  private:
    bool IsShortcutOfWindow(const QKeyEvent& key) const;
    void UpdatePalette();
    void EnsureLineIndex() const;

    // The text as last set: its bytes and their decoded text (its lines
    // grouped when m_linesGrouped). While the document still holds what
    // setting that text left in it, Text() answers the bytes, whatever line
    // breaks they used.
    QByteArray m_setBytes;
    QString m_setText;
    // Whether the text as set went in with its lines grouped into paragraphs,
    // U+2028 breaking the lines inside a paragraph.
    bool m_linesGrouped = false;
    ScriptEncoding m_encoding = ScriptEncoding::Utf8;

    QColor m_background = Qt::white;
    QColor m_textColor = Qt::black;
    bool m_selectionHidden = false;

    // First displayed line of every block, for line reads in constant time
    // while the document, its font and its width stay as they were.
    struct LineIndexKey {
        int revision = -1;
        qreal width = -1;
        QString font;
        bool operator==(const LineIndexKey&) const = default;
    };
    mutable LineIndexKey m_lineIndexKey;
    mutable std::vector<int> m_firstLineOfBlock;
    mutable int m_lineCount = 1;
    // The text of the block last read by Line(), valid with the line index.
    mutable int m_textBlockNumber = -1;
    mutable QString m_textOfBlock;
};
