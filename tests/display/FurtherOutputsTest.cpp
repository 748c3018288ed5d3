#include "FurtherOutputs.h"
#include "FrameMailbox.h"
#include "ScanOut.h"
#include "Surface.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// Three further screens (further-screens.json): "Same" and "Wider" show a
// 1024 x 768 picture the same way round, "Flipped" one of that size reversed.
namespace
{
QScreen* ScreenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

QList<QRgb> GreyRamp()
{
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, 255 - i, i / 2));
    return palette;
}

// A picture that tells left from right and top from bottom, with blank
// rows of two colours between, which a buffer may keep from frame to frame.
void DrawSlope(Surface& surface, int shift)
{
    for (int y = 0; y < Surface::kHeight; ++y) {
        const int line = (y + shift) % 480;
        for (int x = 0; x < Surface::kWidth; ++x)
            surface.Row(y)[x] = static_cast<std::uint8_t>(
                line % 48 >= 36 ? line / 8 % 2 * 200 : (x * 255 / 640 > line / 2 ? 255 : x / 8));
    }
    surface.MarkRowsWritten(0, Surface::kHeight);
}

// Passes the loop would make until the outputs have shown another frame.
void ShowNextFrame(FurtherOutputs& outputs)
{
    const std::uint64_t shown = outputs.FramesShown();
    for (int pass = 0; pass < 100000 && outputs.FramesShown() == shown; ++pass) {
        QCoreApplication::processEvents();
        outputs.OnLoopPass(std::chrono::nanoseconds::max(), false);
    }
}
} // namespace

TEST(FurtherOutputs, EachScreenShowsTheFrameAtItsSizeInItsDirectionScaledOncePerKind)
{
    const QList<QRgb> palette = GreyRamp();
    Surface surface;
    FrameMailbox mailbox;
    DrawSlope(surface, 0);
    mailbox.Post(surface);
    FurtherOutputs outputs({{ScreenNamed("Same"), false},
                            {ScreenNamed("Wider"), false},
                            {ScreenNamed("Flipped"), true}},
                           mailbox, {palette});
    for (QWidget* window : outputs.Windows())
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ShowNextFrame(outputs);
    // The second frame, moved, comes mostly from rows the scalers kept.
    DrawSlope(surface, 7);
    mailbox.Post(surface);
    ShowNextFrame(outputs);
    EXPECT_EQ(outputs.Scalings(), 2u);

    std::vector<std::uint8_t> indices(std::size_t{Surface::kWidth} * Surface::kHeight);
    surface.CopyRowsTo(indices.data());
    const QImage forward = ScanOutImage(indices, palette, QSize(1024, 768));
    const QImage wider = ScanOutImage(indices, palette, QSize(1280, 768));
    const QImage expected[] = {forward, wider, forward.mirrored(true, false)};
    for (int i = 0; i < 3; ++i) {
        QWidget* window = outputs.Windows().at(i);
        SCOPED_TRACE(window->screen()->name().toStdString());
        EXPECT_EQ(window->screen()
                      ->grabWindow(window->winId())
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32),
                  expected[i]);
        // The main output keeps the focus and the pointer shows nowhere.
        EXPECT_TRUE(window->windowHandle()->flags() & Qt::WindowDoesNotAcceptFocus);
        EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
    }
}
