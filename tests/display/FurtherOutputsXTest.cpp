#include "FrameMailbox.h"
#include "FurtherOutputWindow.h"
#include "FurtherOutputs.h"
#include "FurtherOutputsFrames.h"
#include "ScanOut.h"
#include "ScanOutOverlay.h"
#include "Surface.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

// On an X server (the virtual one of scripts/headless-x.sh, which has
// MIT-SHM), a further output on the primary screen shows the same pixels
// through its own shared images as through the window's buffer, where X
// refuses them, and shows them again after Qt has repainted its buffer.
TEST(FurtherOutputsOnX, SharedImagesShowWhatTheWindowBufferShows)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const QList<QRgb> palette = GreyRamp();
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "through the buffer" : "through shared images");
        if (refused)
            qputenv("QT_XCB_NO_MITSHM", "1");
        Surface surface;
        FrameMailbox mailbox;
        DrawSlope(surface, 0);
        mailbox.Post(surface);
        FurtherOutputs outputs({{QGuiApplication::primaryScreen(), true}}, mailbox, {palette});
        auto* window = dynamic_cast<FurtherOutputWindow*>(outputs.Windows().first());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ShowNextFrame(outputs);
        DrawSlope(surface, 7);
        mailbox.Post(surface);
        ShowNextFrame(outputs);
        EXPECT_EQ(window->SharesMemoryWithX(), !refused);

        std::vector<std::uint8_t> indices(std::size_t{Surface::kWidth} * Surface::kHeight);
        surface.CopyRowsTo(indices.data());
        const QImage expected =
            ScanOutImage(indices, palette, window->DeviceSize()).mirrored(true, false);
        for (const bool repainted : {false, true}) {
            if (repainted)
                window->repaint();
            QCoreApplication::processEvents();
            EXPECT_EQ(window->screen()
                          ->grabWindow(window->winId())
                          .toImage()
                          .convertToFormat(QImage::Format_RGB32),
                      expected)
                << (repainted ? "after a repaint" : "");
        }
    }
    qunsetenv("QT_XCB_NO_MITSHM");
}

namespace
{
// Opaque bands across the picture, one at its foot, so that a picture put
// from a row further down has the overlay on both sides of the image's end;
// thinner than the picture moves between two uses of an image, so that
// overlay left where the picture moved on shows.
class Bands : public ScanOutOverlay
{
  public:
    std::uint64_t Revision() const override { return 1; }
    void Draw(QPainter& painter, const QRect& picture, QSize area) const override
    {
        DrawTellingWhere(painter, picture, area);
    }
    QRegion DrawTellingWhere(QPainter& painter, const QRect& picture, QSize) const override
    {
        const QRect band(picture.left(), picture.top() + 100, picture.width(), 4);
        const QRegion drawn = QRegion(band) + band.translated(0, picture.height() - 104);
        for (const QRect& piece : drawn)
            painter.fillRect(piece, Qt::red);
        return drawn;
    }
};
} // namespace

// A picture moving a row a frame is put from images holding earlier ones,
// from a row further down: what the screen shows is still the frame, with
// the overlay where it belongs.
TEST(FurtherOutputsOnX, AMovingPictureShowsTheFrameAndItsOverlay)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const QList<QRgb> palette = GreyRamp();
    const Bands bands;
    Surface surface;
    FrameMailbox mailbox;
    DrawSlope(surface, 0);
    mailbox.Post(surface);
    FurtherOutputs outputs({{QGuiApplication::primaryScreen(), false}}, mailbox, {palette, &bands});
    auto* window = dynamic_cast<FurtherOutputWindow*>(outputs.Windows().first());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (int frame = 0; frame < 11; ++frame) {
        surface.ScrollUp();
        mailbox.Post(surface);
        ShowNextFrame(outputs);
    }
    ASSERT_TRUE(window->SharesMemoryWithX());
    std::vector<std::uint8_t> indices(std::size_t{Surface::kWidth} * Surface::kHeight);
    surface.CopyRowsTo(indices.data());
    QImage expected = ScanOutImage(indices, palette, window->DeviceSize());
    QPainter painter(&expected);
    bands.Draw(painter, window->Picture(), window->DeviceSize());
    painter.end();
    QCoreApplication::processEvents();
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), expected);
}
