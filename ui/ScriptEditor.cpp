#include "ScriptEditor.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>

namespace
{

// Whether `raw`, a document's raw text, is what setting the plain text `set`
// left in it. Setting a plain text turns CR LF, a lone CR, LF, U+2029 and the
// frame marks U+FDD0 and U+FDD1 each into one paragraph break, which the raw
// text holds as U+2029, and keeps every other character as it is.
bool IsRawTextOf(QStringView raw, QStringView set)
{
    if (raw.size() > set.size())
        return false;
    qsizetype r = 0;
    for (qsizetype s = 0; s < set.size(); ++s, ++r) {
        char16_t c = set[s].unicode();
        if (c == u'\r' && s + 1 < set.size() && set[s + 1] == u'\n')
            c = set[++s].unicode();
        const bool isBreak = c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator ||
                             c == 0xFDD0 || c == 0xFDD1;
        if (r == raw.size() || raw[r] != (isBreak ? QChar(QChar::ParagraphSeparator) : QChar(c)))
            return false;
    }
    return r == raw.size();
}

// A long text set into a visible editor whose vertical scroll bar is hidden
// makes the bar appear once the text is in; the narrower viewport then has
// every paragraph laid out anew, which costs more than the setting itself.
// Showing the bar before the text goes in moves that relayout to the short
// text that is leaving; when the text is set, the bar's own policy returns and
// hides it again if the new text fits.
class ScrollBarShownWhileSetting
{
  public:
    explicit ScrollBarShownWhileSetting(QPlainTextEdit& editor)
        : m_editor(editor), m_policy(editor.verticalScrollBarPolicy())
    {
        m_engaged = m_policy == Qt::ScrollBarAsNeeded && editor.isVisible() &&
                    !editor.verticalScrollBar()->isVisible();
        if (m_engaged)
            editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    ~ScrollBarShownWhileSetting()
    {
        if (m_engaged)
            m_editor.setVerticalScrollBarPolicy(m_policy);
    }
    ScrollBarShownWhileSetting(const ScrollBarShownWhileSetting&) = delete;
    ScrollBarShownWhileSetting& operator=(const ScrollBarShownWhileSetting&) = delete;

  private:
    QPlainTextEdit& m_editor;
    Qt::ScrollBarPolicy m_policy;
    bool m_engaged = false;
};

} // namespace

ScriptEditor::ScriptEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // In a dialog, Tab moves to the next control rather than typing a tab.
    setTabChangesFocus(true);
    UpdatePalette();
}

void ScriptEditor::SetText(const QByteArray& bytes)
{
    DecodedScript decoded = DecodeScriptText(bytes);
    m_encoding = decoded.encoding;
    {
        const ScrollBarShownWhileSetting bar(*this);
        setPlainText(decoded.text);
    }
    document()->setModified(false);
    m_setBytes = bytes;
    m_setText = std::move(decoded.text);
}

QByteArray ScriptEditor::Text() const
{
    // The document keeps no trace of which bytes ended a line, so the text as
    // set is answered from the bytes it came from, and an edited text with
    // its line breaks as LF. The document counts as unmodified exactly while
    // its undo history stands where the text was set.
    if (!document()->isModified())
        return m_setBytes;
    QString raw = document()->toRawText();
    if (IsRawTextOf(raw, m_setText))
        return m_setBytes;
    raw.replace(QChar::ParagraphSeparator, u'\n');
    return EncodeScriptText(raw, m_encoding);
}

int ScriptEditor::TextLength() const
{
    return document()->characterCount() - 1;
}

void ScriptEditor::EnsureLineIndex() const
{
    const LineIndexKey key{document()->revision(), static_cast<qreal>(viewport()->width()),
                           font().key()};
    if (key == m_lineIndexKey)
        return;
    const auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    m_firstLineOfBlock.clear();
    m_firstLineOfBlock.reserve(static_cast<std::size_t>(document()->blockCount()));
    int total = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        m_firstLineOfBlock.push_back(total);
        layout->ensureBlockLayout(block);
        total += std::max(1, block.layout()->lineCount());
    }
    m_lineCount = std::max(1, total);
    m_lineIndexKey = key;
    m_textBlockNumber = -1;
    m_textOfBlock.clear();
}

int ScriptEditor::LineCount() const
{
    EnsureLineIndex();
    return m_lineCount;
}

QString ScriptEditor::Line(int index, int maxChars) const
{
    EnsureLineIndex();
    if (index < 0 || index >= m_lineCount || maxChars <= 0)
        return {};
    const auto next = std::upper_bound(m_firstLineOfBlock.begin(), m_firstLineOfBlock.end(), index);
    const auto blockNumber = static_cast<int>(next - m_firstLineOfBlock.begin()) - 1;
    const QTextBlock block = document()->findBlockByNumber(blockNumber);
    const QTextLine line = block.layout()->lineAt(index - m_firstLineOfBlock[blockNumber]);
    if (!line.isValid())
        return {};
    // Lines are read in order, so a long paragraph's text is copied once.
    if (blockNumber != m_textBlockNumber) {
        m_textBlockNumber = blockNumber;
        m_textOfBlock = block.text();
    }
    QString text = m_textOfBlock.mid(line.textStart(), std::min(line.textLength(), maxChars));
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

CharRange ScriptEditor::Selection() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void ScriptEditor::SetSelection(int cpMin, int cpMax)
{
    QTextCursor cursor = textCursor();
    if (cpMin < 0) {
        cursor.clearSelection();
    } else {
        const int length = TextLength();
        const int end = (cpMax < 0 || cpMax > length) ? length : cpMax;
        cursor.setPosition(std::min(cpMin, length));
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

QString ScriptEditor::SelectedText() const
{
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

void ScriptEditor::HideSelection(bool hide)
{
    m_selectionHidden = hide;
    UpdatePalette();
}

bool ScriptEditor::CanUndo() const
{
    return document()->isUndoAvailable();
}

bool ScriptEditor::CanRedo() const
{
    return document()->isRedoAvailable();
}

bool ScriptEditor::CanPaste() const
{
    return canPaste();
}

void ScriptEditor::SetEditorFont(const QFont& font)
{
    setFont(font);
}

void ScriptEditor::SetBackgroundColor(ColorRef color)
{
    m_background = ToQColor(color);
    UpdatePalette();
}

void ScriptEditor::SetDefaultTextColor(ColorRef color)
{
    m_textColor = ToQColor(color);
    UpdatePalette();
}

void ScriptEditor::UpdatePalette()
{
    QPalette colors = palette();
    colors.setColor(QPalette::Base, m_background);
    colors.setColor(QPalette::Text, m_textColor);
    // A hidden selection is drawn in the colours of unselected text.
    const QPalette standard = QPalette();
    colors.setColor(QPalette::Highlight,
                    m_selectionHidden ? m_background : standard.color(QPalette::Highlight));
    colors.setColor(QPalette::HighlightedText,
                    m_selectionHidden ? m_textColor : standard.color(QPalette::HighlightedText));
    setPalette(colors);
}
