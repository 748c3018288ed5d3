#include "TransparentStatic.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>

namespace
{

const QString kEllipsis = QStringLiteral("...");

// The longest beginning of `text` no wider than `width`.
QString LongestPrefix(const QString& text, const QFontMetrics& metrics, int width)
{
    qsizetype length = text.size();
    while (length > 0 && metrics.horizontalAdvance(text.left(length)) > width)
        --length;
    return text.left(length);
}

// The longest end of `text` no wider than `width`.
QString LongestSuffix(const QString& text, const QFontMetrics& metrics, int width)
{
    qsizetype length = text.size();
    while (length > 0 && metrics.horizontalAdvance(text.right(length)) > width)
        --length;
    return text.right(length);
}

} // namespace

CTransparentStatic::CTransparentStatic(QWidget* parent) : QLabel(parent) {}

CTransparentStatic::~CTransparentStatic() = default;

void CTransparentStatic::SetTextColor(ColorRef color)
{
    m_crLabelText = color;
    update();
}

QString CTransparentStatic::PathEllipsis(const QString& line, const QFontMetrics& metrics,
                                         int width)
{
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    const int room = width - metrics.horizontalAdvance(kEllipsis);
    const qsizetype cut =
        std::max(line.lastIndexOf(QLatin1Char('/')), line.lastIndexOf(QLatin1Char('\\')));
    if (cut < 0)
        return LongestPrefix(line, metrics, room) + kEllipsis;
    // The file name comes first; the beginning of the path gets what is left.
    const QString name = line.mid(cut);
    const int nameWidth = metrics.horizontalAdvance(name);
    if (nameWidth > room)
        return kEllipsis + LongestSuffix(name, metrics, room);
    return LongestPrefix(line.left(cut), metrics, room - nameWidth) + kEllipsis + name;
}

void CTransparentStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(ToQColor(m_crLabelText));
    const QRect box = contentsRect();
    painter.setClipRect(box);
    const QFontMetrics metrics = fontMetrics();
    // Lines break only at the text's own line ends. An ampersand is drawn as
    // itself: a file named "R&D.txt" must read so, not with an underlined D.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    int top = box.top();
    for (const QString& line : text().split(lineEnd)) {
        painter.drawText(box.left(), top + metrics.ascent(),
                         PathEllipsis(line, metrics, box.width()));
        top += metrics.lineSpacing();
    }
    // No background is filled: the text stands on whatever the parent painted.
}
