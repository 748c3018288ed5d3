#pragma once

#include "FurtherOutputs.h"
#include "Surface.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QRgb>

// Frames for the further outputs' tests, and the loop that shows them.

inline QList<QRgb> GreyRamp()
{
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, 255 - i, i / 2));
    return palette;
}

// A picture that tells left from right and top from bottom, with blank
// rows of two colours between, which a buffer may keep from frame to frame.
inline void DrawSlope(Surface& surface, int shift)
{
    for (int y = 0; y < Surface::kHeight; ++y) {
        const int line = (y + shift) % 480;
        for (int x = 0; x < Surface::kWidth; ++x)
            surface.Row(y)[x] = static_cast<std::uint8_t>(
                line % 48 >= 36 ? line / 8 % 2 * 200 : (x * 255 / 640 > line / 2 ? 255 : x / 8));
    }
    surface.MarkRowsWritten(0, Surface::kHeight);
}

// Passes the loop would make until the outputs have shown another frame,
// the main output's own bands waiting at every pass when mainBusy.
inline void ShowNextFrame(FurtherOutputs& outputs, bool mainBusy = false)
{
    const std::uint64_t shown = outputs.FramesShown();
    for (QDeadlineTimer deadline(10000);
         !deadline.hasExpired() && outputs.FramesShown() == shown;) {
        QCoreApplication::processEvents();
        outputs.OnLoopPass(std::chrono::nanoseconds::max(), mainBusy);
    }
}
