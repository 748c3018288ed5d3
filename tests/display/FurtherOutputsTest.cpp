#include "FurtherOutputs.h"
#include "FrameMailbox.h"
#include "FurtherOutputsFrames.h"
#include "ScanOut.h"
#include "Surface.h"

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

// A run stepping at every pass keeps its main output busy throughout; the
// further screens still get their frames.
TEST(FurtherOutputs, ShowFramesWhileTheMainOutputIsNeverDone)
{
    Surface surface;
    FrameMailbox mailbox;
    DrawSlope(surface, 0);
    mailbox.Post(surface);
    FurtherOutputs outputs({{ScreenNamed("Same"), false}}, mailbox, {GreyRamp()});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(outputs.Windows().first()));
    for (int frame = 1; frame <= 2; ++frame) {
        DrawSlope(surface, frame);
        mailbox.Post(surface);
        ShowNextFrame(outputs, true);
        EXPECT_EQ(outputs.FramesShown(), static_cast<std::uint64_t>(frame));
    }
}
