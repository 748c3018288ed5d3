#include "SurfaceDc.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>

namespace
{
constexpr int kTabStopChars = 8;

QRect SurfaceRect()
{
    return QRect(0, 0, Surface::kWidth, Surface::kHeight);
}
} // namespace

SurfaceDc::SurfaceDc(Surface& surface)
    : m_surface(surface), m_image(surface.Pixels(), Surface::kWidth, Surface::kHeight,
                                  Surface::kWidth, QImage::Format_Grayscale8),
      m_painter(&m_image)
{
    m_painter.setFont(QGuiApplication::font());
    m_painter.setPen(QColor(kTextIndex, kTextIndex, kTextIndex));
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void SurfaceDc::SelectFont(const QFont& font)
{
    m_painter.setFont(font);
}

void SurfaceDc::FillRect(const QRect& rect, std::uint8_t index)
{
    const QRect r = rect.intersected(SurfaceRect());
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::fill_n(m_surface.Row(y) + r.left(), r.width(), index);
}

void SurfaceDc::DrawTextLine(const QRect& rect, const QString& text)
{
    const QRect clip = rect.intersected(SurfaceRect());
    if (clip.isEmpty())
        return;
    // A CR sends the rest of the text to a row below the rectangle, which
    // the clip hides, so nothing after it shows.
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    const QString shown = cr < 0 ? text : text.left(cr);
    const QFontMetrics metrics(m_painter.font(), &m_image);
    const int tabStop = std::max(1, kTabStopChars * metrics.averageCharWidth());
    const int baseline = rect.top() + metrics.ascent();

    m_painter.save();
    m_painter.setClipRect(clip);
    // A first letter whose ink reaches left of its origin ('j' in many
    // faces) starts that much further in, so no ink is cut at the edge.
    const int overhang = shown.isEmpty() ? 0 : std::max(0, -metrics.leftBearing(shown.front()));
    int x = rect.left() + overhang;
    const QStringList pieces = shown.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            x = rect.left() + ((x - rect.left()) / tabStop + 1) * tabStop;
        m_painter.drawText(QPoint(x, baseline), pieces[i]);
        x += metrics.horizontalAdvance(pieces[i]);
    }
    m_painter.restore();
    m_surface.MarkRowsWritten(clip.top(), clip.height());
}

int SurfaceDc::LineHeight() const
{
    return QFontMetrics(m_painter.font(), &m_image).height();
}

void SurfaceDc::MirrorRectInto(const QRect& rect, Surface& dest)
{
    const QRect r = rect.intersected(SurfaceRect());
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::uint8_t* from = m_surface.Row(y) + r.left();
        std::uint8_t* to = dest.Row(y) + r.left();
        if (from == to)
            std::reverse(from, from + r.width());
        else
            std::reverse_copy(from, from + r.width(), to);
    }
}
