#include "ScriptEditor.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>

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
    setPlainText(decoded.text);
    document()->setModified(false);
    m_setBytes = bytes;
    m_setRawText = document()->toRawText();
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
    if (raw == m_setRawText)
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
