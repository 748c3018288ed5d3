#include "ScriptEditor.h"

#include <QAction>
#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>

namespace
{

// Whether setting a plain text ends a paragraph at `c`: LF, a lone CR (CR LF
// counts once), U+2029 and the frame marks U+FDD0 and U+FDD1.
bool IsParagraphBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == 0xFDD0 || c == 0xFDD1;
}

// Whether `raw`, a document's raw text, is what setting the plain text `set`
// left in it. Setting a plain text turns each paragraph break into U+2029 in
// the raw text and keeps every other character as it is. A text set with its
// lines grouped holds only U+2028 and U+2029 as breaks, and either may stand
// for the other in the raw text.
bool IsRawTextOf(QStringView raw, QStringView set, bool linesGrouped)
{
    if (raw.size() > set.size())
        return false;
    const auto isBreak = [linesGrouped](char16_t c) {
        return IsParagraphBreak(c) || (linesGrouped && c == QChar::LineSeparator);
    };
    qsizetype r = 0;
    for (qsizetype s = 0; s < set.size(); ++s, ++r) {
        char16_t c = set[s].unicode();
        if (c == u'\r' && s + 1 < set.size() && set[s + 1] == u'\n')
            c = set[++s].unicode();
        if (r == raw.size())
            return false;
        const char16_t inRaw = raw[r].unicode();
        const bool matches = isBreak(c) ? inRaw == QChar::ParagraphSeparator ||
                                              (linesGrouped && inRaw == QChar::LineSeparator)
                                        : inRaw == c;
        if (!matches)
            return false;
    }
    return r == raw.size();
}

// Each paragraph of a document costs a few microseconds to set up whatever
// its length, so a text of hundreds of thousands of lines takes seconds to set
// one paragraph a line. Such a text goes in with its lines in groups: a
// paragraph holds kLinesPerGroup lines separated by U+2028, which the editor
// shows as a line break inside the paragraph. Beyond 32 lines a group saves
// little more setting time while every edit lays out a longer paragraph. Up to
// kLinesBeforeGrouping lines, setting costs well under a tenth of a second, so
// every script of ordinary length keeps one paragraph a line.
constexpr qsizetype kLinesBeforeGrouping = 20000;
constexpr qsizetype kLinesPerGroup = 32;

// Whether `text` goes in with its lines grouped. A text that itself holds
// U+2028 never does: an edited grouped text reads back with every U+2028 as
// LF, which would turn a genuine one into a line break.
bool GroupsLines(QStringView text)
{
    if (text.contains(QChar::LineSeparator))
        return false;
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool crBeforeLf = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (IsParagraphBreak(c) && !crBeforeLf && ++breaks == kLinesBeforeGrouping)
            return true;
    }
    return false;
}

// Groups the lines of `text` as above, each CR LF becoming one break. The
// text only shrinks, so it is rewritten where it stands rather than copied,
// which for a long text saves more time than the rewriting takes.
void GroupLines(QString& text)
{
    QChar* out = text.data();
    const QChar* const end = out + text.size();
    qsizetype linesInGroup = 0;
    for (const QChar* in = out; in != end; ++in) {
        const char16_t c = in->unicode();
        if (!IsParagraphBreak(c)) {
            *out++ = *in;
            continue;
        }
        if (c == u'\r' && in + 1 != end && in[1] == u'\n')
            ++in;
        const bool endsGroup = ++linesInGroup == kLinesPerGroup;
        *out++ = endsGroup ? QChar::ParagraphSeparator : QChar::LineSeparator;
        if (endsGroup)
            linesInGroup = 0;
    }
    text.truncate(out - text.constData());
}

// Turns the breaks of `raw`, a document's raw text, into LF: every paragraph
// break, and where the lines were grouped every line break inside a paragraph.
void BreakLinesWithLf(QString& raw, bool linesGrouped)
{
    raw.replace(QChar::ParagraphSeparator, u'\n');
    if (linesGrouped)
        raw.replace(QChar::LineSeparator, u'\n');
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
    m_linesGrouped = GroupsLines(decoded.text);
    if (m_linesGrouped)
        GroupLines(decoded.text);
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
    return TextWithEncoding().bytes;
}

EncodedScript ScriptEditor::TextWithEncoding() const
{
    // The document keeps no trace of which bytes ended a line, so the text as
    // set is answered from the bytes it came from, and an edited text with
    // its line breaks as LF. The document counts as unmodified exactly while
    // its undo history stands where the text was set.
    if (!document()->isModified())
        return {m_setBytes, m_encoding};
    QString raw = document()->toRawText();
    if (IsRawTextOf(raw, m_setText, m_linesGrouped))
        return {m_setBytes, m_encoding};
    BreakLinesWithLf(raw, m_linesGrouped);
    QByteArray bytes = EncodeScriptText(raw, m_encoding);
    // Windows-1252 stores one byte for each UTF-16 unit, UTF-8 more than one
    // for each character Windows-1252 lacks: the length tells which was used.
    const ScriptEncoding encoding = bytes.size() == raw.size() ? m_encoding : ScriptEncoding::Utf8;
    return {std::move(bytes), encoding};
}

QString ScriptEditor::EditedText() const
{
    QString raw = document()->toRawText();
    BreakLinesWithLf(raw, m_linesGrouped);
    return raw;
}

void ScriptEditor::ReplaceText(const QString& text)
{
    // A text that went in with its lines grouped keeps them grouped.
    QString paragraphs = text;
    if (m_linesGrouped)
        GroupLines(paragraphs);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(paragraphs);
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
    return DisplayedText(m_textOfBlock, line, maxChars);
}

QString ScriptEditor::DisplayedText(const QString& paragraph, const QTextLine& line, int maxChars)
{
    // A line that U+2028 ends holds it as its last character; it is the
    // line's break, not part of what the line shows.
    int length = line.textLength();
    if (length > 0 && paragraph[line.textStart() + length - 1] == QChar::LineSeparator)
        --length;
    QString text = paragraph.mid(line.textStart(), std::min(length, maxChars));
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

bool ScriptEditor::IsShortcutOfWindow(const QKeyEvent& key) const
{
    // The keypad flag says where a key sits, not which key it is.
    const QKeySequence typed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    const QList<QAction*> actions = window()->findChildren<QAction*>();
    return std::any_of(actions.begin(), actions.end(),
                       [&typed](const QAction* action) { return action->shortcut() == typed; });
}

bool ScriptEditor::event(QEvent* event)
{
    // The text edit claims Ctrl+C, Ctrl+V and the like before any shortcut
    // sees them; left unclaimed, they reach the window's commands.
    if (event->type() == QEvent::ShortcutOverride &&
        IsShortcutOfWindow(static_cast<QKeyEvent&>(*event)))
        return false;
    return QPlainTextEdit::event(event);
}

void ScriptEditor::keyPressEvent(QKeyEvent* event)
{
    // Such a key comes here while its command is disabled, and still never
    // edits the text.
    if (IsShortcutOfWindow(*event)) {
        event->ignore();
        return;
    }
    // The text edit's own Shift+Enter inserts U+2028, which a saved script
    // would keep as that character rather than as CR LF, and which would turn
    // a Windows-1252 script into UTF-8. The operator means a line break.
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent lineBreak(event->type(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                            event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QPlainTextEdit::keyPressEvent(&lineBreak);
        event->setAccepted(lineBreak.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    // As with Shift+Enter, a line separator another program put in the
    // clipboard is a line break once it is in the script.
    QString text = source->text();
    text.replace(QChar::LineSeparator, u'\n');
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
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
    return textCursor()
        .selectedText()
        .replace(QChar::ParagraphSeparator, u'\n')
        .replace(QChar::LineSeparator, u'\n');
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
