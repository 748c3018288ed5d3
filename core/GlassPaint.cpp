#include "GlassPaint.h"

#include "Surface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
// Shares of the picture's height: the message reads from across a studio,
// the clock is a glance, the countdown fills the middle.
constexpr double kMessageBand = 0.12;
constexpr double kClockBand = 1.0 / 16;
constexpr double kCountdownBox = 0.45;
constexpr double kLetterToBand = 0.72;

int Share(const QRect& picture, double share)
{
    return std::max(1, static_cast<int>(std::lround(picture.height() * share)));
}

QFont Sized(QFont face, int pixels)
{
    face.setPixelSize(std::max(1, pixels));
    face.setBold(true);
    return face;
}

// The picture's columns from..to (of its 640) in device pixels.
QRect Columns(const QRect& picture, int from, int to, int top, int height)
{
    const double scale = static_cast<double>(picture.width()) / Surface::kWidth;
    const int left = picture.left() + static_cast<int>(std::lround(from * scale));
    const int right = picture.left() + static_cast<int>(std::lround(to * scale));
    return QRect(left, top, std::max(0, right - left), height);
}

// An opaque piece is drawn over the picture as a plain copy, every frame.
QImage Drawn(const QRect& bounds, bool opaque, const std::function<void(QPainter&)>& draw)
{
    QImage image(bounds.size(),
                 opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(-bounds.topLeft());
    draw(painter);
    return image;
}

// A text on the background colour filling bounds, the text within room.
GlassPiece TextPiece(const QRect& bounds, const QRect& room, const GlassLook& look,
                     const QFont& font, const QString& text, Qt::Alignment alignment)
{
    return {bounds, Drawn(bounds, true, [&](QPainter& painter) {
                painter.fillRect(bounds, look.back);
                painter.setFont(font);
                painter.setPen(look.text);
                const QString shown =
                    QFontMetrics(font).elidedText(text, Qt::ElideRight, room.width());
                painter.drawText(room, static_cast<int>(alignment | Qt::AlignVCenter), shown);
            })};
}

GlassPiece CuePiece(const QRect& area, const QRect& picture, const GlassLook& look)
{
    const QPolygonF triangle = CueTriangle(area, picture, look.cue, MarginColumns(look.layout));
    const QRect bounds = triangle.boundingRect().toAlignedRect();
    return {bounds, Drawn(bounds, false, [&](QPainter& painter) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(look.text);
                painter.drawPolygon(triangle);
            })};
}

GlassPiece ClockPiece(const QRect& picture, const GlassLook& look, const QString& clock)
{
    const TextColumns text = TextColumnsFor(look.layout, look.cue);
    const int band = Share(picture, kClockBand);
    const QFont font = Sized(look.face, static_cast<int>(band * kLetterToBand));
    const int top = picture.bottom() + 1 - band;
    // In the right margin when the clock fits there; else in a band across
    // the picture's foot, in the text's right corner.
    const QRect margin = Columns(picture, text.right, Surface::kWidth, top, band);
    const int needed = QFontMetrics(font).horizontalAdvance(clock) + band / 2;
    if (margin.width() >= needed)
        return TextPiece(margin, margin, look, font, clock, Qt::AlignHCenter);
    const QRect across(picture.left(), top, picture.width(), band);
    return TextPiece(across, Columns(picture, text.left, text.right, top, band), look, font, clock,
                     Qt::AlignRight);
}

GlassPiece MessagePiece(const QRect& picture, const GlassLook& look, const QString& message)
{
    const TextColumns text = TextColumnsFor(look.layout, look.cue);
    const int band = Share(picture, kMessageBand);
    const QFont font = Sized(look.face, static_cast<int>(band * kLetterToBand));
    const QRect across(picture.left(), picture.top(), picture.width(), band);
    GlassPiece piece =
        TextPiece(across, Columns(picture, text.left, text.right, across.top(), band), look, font,
                  message, Qt::AlignHCenter);
    // A rule under the band parts it from the script scrolling beneath.
    QPainter painter(&piece.image);
    const int rule = std::max(1, band / 24);
    painter.fillRect(0, band - rule, across.width(), rule, look.text);
    return piece;
}

// Small, in the corner the clock leaves free, so that the presenter sees
// it without it covering the script.
GlassPiece LeaderLostPiece(const QRect& picture, const GlassLook& look)
{
    const TextColumns text = TextColumnsFor(look.layout, look.cue);
    const int band = Share(picture, kClockBand);
    const QFont font = Sized(look.face, static_cast<int>(band * kLetterToBand));
    const QString mark = QStringLiteral("LINK LOST");
    const int top = picture.bottom() + 1 - band;
    const int width = QFontMetrics(font).horizontalAdvance(mark) + band / 2;
    const QRect room = Columns(picture, text.left, text.right, top, band);
    const QRect bounds(room.left(), top, std::min(width, room.width()), band);
    return TextPiece(bounds, bounds, look, font, mark, Qt::AlignHCenter);
}

GlassPiece CountdownPiece(const QRect& picture, const GlassLook& look, int seconds)
{
    const int side = Share(picture, kCountdownBox);
    QRect box(0, 0, side, side);
    box.moveCenter(picture.center());
    return TextPiece(box, box, look, Sized(look.face, static_cast<int>(side * 0.8)),
                     QString::number(seconds), Qt::AlignHCenter);
}
} // namespace

std::vector<GlassPiece> GlassPieces(const QRect& area, const QRect& picture, const GlassLook& look,
                                    const GlassTexts& texts)
{
    std::vector<GlassPiece> pieces;
    if (picture.isEmpty())
        return pieces;
    if (look.cue.shown)
        pieces.push_back(CuePiece(area, picture, look));
    if (!texts.clock.isEmpty())
        pieces.push_back(ClockPiece(picture, look, texts.clock));
    if (!texts.message.isEmpty())
        pieces.push_back(MessagePiece(picture, look, texts.message));
    if (texts.countdown)
        pieces.push_back(CountdownPiece(picture, look, *texts.countdown));
    if (texts.leaderLost)
        pieces.push_back(LeaderLostPiece(picture, look));
    return pieces;
}

void DrawGlassPieces(QPainter& painter, const QRect& picture, bool mirrored,
                     const std::vector<GlassPiece>& pieces)
{
    for (const GlassPiece& piece : pieces) {
        if (!mirrored) {
            painter.drawImage(piece.bounds.topLeft(), piece.image);
            continue;
        }
        // Drawn right-reading and flipped pixel for pixel: antialiasing
        // straight into the mirrored place would round edges differently.
        // Column c of the picture shows column left + right - c of the
        // right-reading one.
        const int left = picture.left() + picture.right() - piece.bounds.right();
        painter.drawImage(QPoint(left, piece.bounds.top()), piece.image.mirrored(true, false));
    }
}
