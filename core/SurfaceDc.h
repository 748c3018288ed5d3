#pragma once

#include "Surface.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdint>

// A drawing context over a Surface, held for the length of one drawing
// operation. Text is drawn in index 255 over index 0 with anti-aliasing, so
// the grey level of each pixel is the text's coverage, which the run's
// palette turns into a blend of the text and background colours.
//
// Rectangles are (left, top, right + 1, bottom + 1) in the usual QRect way;
// everything is clipped to the 640 x 480 surface.
class SurfaceDc
{
  public:
    static constexpr std::uint8_t kTextIndex = 255;     // index that text is drawn in
    static constexpr std::uint8_t kBackgroundIndex = 0; // index of the background

    // Opens the context on surface, with the application's font selected.
    explicit SurfaceDc(Surface& surface);
    SurfaceDc(const SurfaceDc&) = delete;
    SurfaceDc& operator=(const SurfaceDc&) = delete;

    // Makes font the font of later text operations.
    void SelectFont(const QFont& font);

    // Sets every pixel of rect to index.
    void FillRect(const QRect& rect, std::uint8_t index);

    // Draws one line of text with its top-left corner at the top-left of
    // rect, clipped to rect. Tabs advance to the next stop, the stops 8
    // average character widths apart; '&' is an ordinary character; a CR
    // ends what shows.
    void DrawTextLine(const QRect& rect, const QString& text);

    // The height in pixels of one line of text in the selected font.
    int LineHeight() const;

    // Writes the exact left-right mirror of rect (its part inside the
    // surface) onto the same rect of dest, which may be this context's own
    // surface: the pixel at rect.left() + i lands at rect.right() - i.
    void MirrorRectInto(const QRect& rect, Surface& dest);

    // The surface drawn on.
    Surface& surface() { return m_surface; }

  private:
    Surface& m_surface;
    QImage m_image;     // grey-level view over the surface's bytes
    QPainter m_painter; // active for the life of the context
};
