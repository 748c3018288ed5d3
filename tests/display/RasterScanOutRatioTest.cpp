#include "FrameMailbox.h"
#include "RasterScanOut.h"
#include "ScanOut.h"
#include "Surface.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

// On screens of four device-pixel ratios (four-ratios.json), each the same
// 1440 x 1080 device pixels, the raster presenter draws by the rule in
// device pixels, so every step moves the picture by the same 2.25 pixels.
class RasterScanOutRatio : public ::testing::TestWithParam<int>
{
};

namespace
{
const QList<QRgb> kPalette = [] {
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    return palette;
}();

// Where the picture's one edge lies in column x: the sum of every pixel's
// share of the bright side, which sharp-bilinear scaling keeps exact to a
// fraction of a pixel.
double EdgeAt(const QImage& image, int x)
{
    double bright = 0;
    for (int y = 0; y < image.height(); ++y)
        bright += qRed(image.pixel(x, y)) / 255.0;
    return image.height() - bright;
}
} // namespace

TEST_P(RasterScanOutRatio, DrawsTheRuleInDevicePixelsAndEveryStepMovesThePictureEvenly)
{
    QScreen* screen = QGuiApplication::screens().at(GetParam());
    QWidget window;
    window.setGeometry(screen->geometry());
    window.show();
    window.windowHandle()->setScreen(screen);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize device = window.size() * window.devicePixelRatioF();
    ASSERT_EQ(device, QSize(1440, 1080)) << "ratio " << window.devicePixelRatioF();

    FrameMailbox mailbox;
    RasterScanOut view(&window, mailbox, {kPalette}, 60);
    Surface surface;
    surface.Fill(255);
    for (int y = 0; y < 200; ++y)
        std::fill_n(surface.Row(y), Surface::kWidth, std::uint8_t{0});
    const auto show = [&] {
        const std::uint64_t shown = view.FramesShown();
        mailbox.Want();
        for (int pass = 0; pass < 10000 && view.FramesShown() == shown; ++pass)
            view.OnLoopPass(std::chrono::hours(1), mailbox.Offer(surface));
        return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };

    QImage shown = show();
    ASSERT_EQ(shown.size(), device);
    std::vector<std::uint8_t> frame(640 * 480);
    surface.CopyRowsTo(frame.data());
    EXPECT_EQ(shown, ScanOutImage(frame, kPalette, device));
    double edge = EdgeAt(shown, 700);
    for (int step = 0; step < 8; ++step) {
        surface.ScrollDown();
        const double moved = EdgeAt(show(), 700) - edge;
        EXPECT_NEAR(moved, 1080.0 / 480.0, 0.02) << "step " << step;
        edge += moved;
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, RasterScanOutRatio, ::testing::Values(0, 1, 2, 3));
