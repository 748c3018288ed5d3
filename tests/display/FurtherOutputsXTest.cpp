#include "FrameMailbox.h"
#include "FurtherOutputWindow.h"
#include "FurtherOutputs.h"
#include "FurtherOutputsFrames.h"
#include "ScanOut.h"
#include "Surface.h"

#include <QGuiApplication>
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
