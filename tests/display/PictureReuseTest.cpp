#include "PictureReuse.h"
#include "FurtherOutputsFrames.h"
#include "ScanOut.h"
#include "ScanOutFrame.h"
#include "Surface.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace
{
// The picture an image read as a ring shows from top on.
QImage Unrolled(const QImage& ring, int top)
{
    QImage picture(ring.size(), QImage::Format_RGB32);
    for (int y = 0; y < ring.height(); ++y)
        std::copy_n(ring.constScanLine((top + y) % ring.height()), ring.bytesPerLine(),
                    picture.scanLine(y));
    return picture;
}

// Draws text-like rows: blank rows between lines of a few columns' marks.
void DrawRow(Surface& surface, int y, int line)
{
    std::uint8_t* row = surface.Row(y);
    std::fill_n(row, Surface::kWidth, std::uint8_t{0});
    if (line % 5 != 0)
        for (int x = line % 13; x < Surface::kWidth; x += 9)
            row[x] = static_cast<std::uint8_t>(40 + line % 200);
}
} // namespace

// Whatever the picture did, each frame painted where BestReuse says, only
// the rows it does not hold, comes out as if scaled afresh; a picture that
// scrolls leaves few rows to paint once each fraction of a row has an image.
TEST(PictureReuse, APictureScaledIntoTheBestImageIsTheFrameScaledAfresh)
{
    const struct {
        int rowsPerFrame;    // up when positive, down when negative; 0: one row edited
        int mostRowsToPaint; // once every image has been used
    } cases[] = {{1, 9 + 2}, {3, 27 + 2}, {10, 45 + 2}, {-1, 9 + 2}, {0, 3}};
    for (const QSize area : {QSize(1440, 1080), QSize(1024, 768), QSize(960, 720)}) {
        for (const auto& test : cases) {
            SCOPED_TRACE(testing::Message() << area.height() << " rows, " << test.rowsPerFrame);
            Surface surface;
            int entering = 0;
            for (int y = 0; y < Surface::kHeight; ++y)
                DrawRow(surface, y, entering++);
            const auto rows = static_cast<std::size_t>(area.height());
            ScanOutScaler scaler(area, ScanOutColoursOf(GreyRamp()));
            std::vector<QImage> images(ImagesToKeep(area.height()),
                                       QImage(area, QImage::Format_RGB32));
            std::vector<std::vector<ScanOutHeldRow>> held(images.size(),
                                                          std::vector<ScanOutHeldRow>(rows));
            std::vector<ScanOutRowKey> wanted(rows);
            std::vector<int> usedAt(images.size(), -1);
            const auto leastRecentlyUsed = [&usedAt] {
                return static_cast<std::size_t>(std::ranges::min_element(usedAt) - usedAt.begin());
            };
            ScanOutFrame frame;
            for (int n = 0; n < 16; ++n) {
                for (int k = 0; k < std::abs(test.rowsPerFrame); ++k) {
                    const bool up = test.rowsPerFrame > 0;
                    up ? surface.ScrollUp() : surface.ScrollDown();
                    DrawRow(surface, up ? Surface::kHeight - 1 : 0, entering++);
                }
                if (test.rowsPerFrame == 0)
                    DrawRow(surface, 200, entering++);
                frame.CopyFrom(surface);
                scaler.Begin(frame.indices, frame.rowStamps);
                for (std::size_t y = 0; y < rows; ++y)
                    wanted[y] = scaler.Key(static_cast<int>(y));
                const PictureReuse reuse = BestReuse(held, wanted, leastRecentlyUsed());
                usedAt[reuse.image] = n;
                QImage& image = images[reuse.image];
                scaler.Scale(0, area.height(), image.bits(), image.bytesPerLine(),
                             &held[reuse.image], reuse.top);
                ASSERT_EQ(Unrolled(image, reuse.top), ScanOutImage(frame.indices, GreyRamp(), area))
                    << "frame " << n;
                if (n >= 8) {
                    EXPECT_LE(reuse.rowsToPaint, test.mostRowsToPaint) << "frame " << n;
                }
            }
        }
    }
}
