#include "FrameMailbox.h"
#include "RasterScanOut.h"
#include "ScanOut.h"
#include "ScanOutOverlay.h"
#include "Surface.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>

// Driven by the loop, the raster presenter scales each frame straight into
// the buffer its window is shown from and puts it on the screen with one
// flush: what the window's buffer holds, and the screen shows, is the rule
// exactly, with no paint of the view in between.

namespace
{
const QList<QRgb> kPalette = [] {
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, 255 - i, (i * 7) & 0xFF));
    return palette;
}();

// Counts the paint events of the object it watches.
class PaintCounter : public QObject
{
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Half-transparent red over the picture's left edge and the margin beside
// it: drawn over itself, it would grow redder.
class EdgeMark : public ScanOutOverlay
{
  public:
    std::uint64_t Revision() const override { return 1; }
    void Draw(QPainter& painter, const QRect& picture, QSize) const override
    {
        painter.fillRect(QRect(picture.left() - 20, 100, 40, 60), QColor(255, 0, 0, 128));
    }
};

class RasterScanOutBuffer : public ::testing::Test
{
  protected:
    // A view on a shown window, once Qt has painted it.
    void Open(const ScanOutOverlay* overlay = nullptr, double refreshRate = 60)
    {
        m_window.resize(800, 500);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        m_view = std::make_unique<RasterScanOut>(&m_window, m_mailbox,
                                                 ScanOutLook{kPalette, overlay}, refreshRate);
        m_view->installEventFilter(&m_paints);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_paints.paints > 0; }, 5000));
        QTest::qWait(50);
        m_paints.paints = 0;
    }

    // Posts the surface and passes as the loop does until the frame is
    // shown, with no event dispatched; answers what the screen shows.
    QImage Show()
    {
        const std::uint64_t shown = m_view->FramesShown();
        m_mailbox.Want();
        for (int pass = 0; pass < 10000 && m_view->FramesShown() == shown; ++pass)
            m_view->OnLoopPass(std::chrono::hours(1), m_mailbox.Offer(m_surface));
        EXPECT_EQ(m_view->FramesShown(), shown + 1);
        return OnScreen();
    }

    QImage OnScreen() const
    {
        return m_window.screen()
            ->grabWindow(m_window.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The rule's picture of the surface as it is now.
    QImage Expected() const
    {
        std::vector<std::uint8_t> frame(std::size_t{Surface::kWidth} * Surface::kHeight);
        m_surface.CopyRowsTo(frame.data());
        return ScanOutImage(frame, kPalette, m_window.size() * m_window.devicePixelRatioF());
    }

    void Scramble(unsigned seed)
    {
        std::mt19937 noise(seed);
        for (int y = 0; y < Surface::kHeight; ++y)
            for (int x = 0; x < Surface::kWidth; ++x)
                m_surface.Row(y)[x] = static_cast<std::uint8_t>(noise() & 0xFF);
    }

    QWidget m_window;
    FrameMailbox m_mailbox;
    Surface m_surface;
    PaintCounter m_paints;
    std::unique_ptr<RasterScanOut> m_view;
};
} // namespace

TEST_F(RasterScanOutBuffer, MovingFramesReachTheScreenByTheRuleWithoutAPaintOfTheView)
{
    Open();
    Scramble(1);
    EXPECT_EQ(Show(), Expected());
    for (int frame = 0; frame < 6; ++frame) {
        for (int step = 0; step <= frame; ++step) {
            m_surface.ScrollUp();
            std::fill_n(m_surface.Row(Surface::kHeight - 1), Surface::kWidth,
                        static_cast<std::uint8_t>(40 * step + frame));
        }
        EXPECT_EQ(Show(), Expected()) << "frame " << frame;
    }
    EXPECT_EQ(m_paints.paints, 0);
}

// An expose shows the window's buffer as it is; a frame half drawn into it
// would show torn over the last one.
TEST_F(RasterScanOutBuffer, AnExposeWhileAFrameIsHalfDrawnShowsThatFrameWhole)
{
    Open();
    Scramble(2);
    Show();
    Scramble(3);
    const std::uint64_t shown = m_view->FramesShown();
    m_mailbox.Want();
    m_view->OnLoopPass(std::chrono::hours(1), m_mailbox.Offer(m_surface));
    ASSERT_EQ(m_view->FramesShown(), shown);
    QExposeEvent expose{QRegion(m_window.rect())};
    QCoreApplication::sendEvent(m_window.windowHandle(), &expose);
    EXPECT_EQ(m_view->FramesShown(), shown + 1);
    EXPECT_EQ(OnScreen(), Expected());
}

TEST_F(RasterScanOutBuffer, TheOverlayIsDrawnOnceOverEveryFrame)
{
    const EdgeMark mark;
    Open(&mark);
    for (unsigned frame = 0; frame < 4; ++frame) {
        Scramble(10 + frame);
        QImage expected = Expected();
        {
            QPainter painter(&expected);
            mark.Draw(painter, ScanOutRect(expected.size()), expected.size());
        }
        EXPECT_EQ(Show(), expected) << "frame " << frame;
    }
}

// A band waits for a step that is due before it would end, but a run that
// steps more often than a band takes must still see every frame.
TEST_F(RasterScanOutBuffer, StepsMoreOftenThanABandTakesStillLeaveTimeForEveryFrame)
{
    Open();
    for (unsigned frame = 0; frame < 4; ++frame) {
        Scramble(20 + frame);
        const std::uint64_t shown = m_view->FramesShown();
        m_mailbox.Want();
        QElapsedTimer safetyNet;
        safetyNet.start();
        while (m_view->FramesShown() == shown && safetyNet.elapsed() < 2000)
            m_view->OnLoopPass(std::chrono::microseconds(1), m_mailbox.Offer(m_surface));
        ASSERT_EQ(m_view->FramesShown(), shown + 1) << "frame " << frame;
        EXPECT_EQ(OnScreen(), Expected()) << "frame " << frame;
    }
}

// While showing a frame takes longer than the steps are apart, the loop is
// kept from sleeping, so that the window system copies the frame on
// another core rather than in the way of the next step. Paused, or with
// the steps further apart, it may sleep.
TEST_F(RasterScanOutBuffer, WhileShowingAFrameOutlastsTheStepsTheLoopIsKeptFromSleeping)
{
    using std::chrono::nanoseconds;
    Open();
    // Frames shown with a step at every other pass: any copy outlasts the
    // nanosecond between them.
    for (unsigned frame = 0; frame < 4; ++frame) {
        Scramble(40 + frame);
        const std::uint64_t shown = m_view->FramesShown();
        m_mailbox.Want();
        for (int k = 0; k < 10000 && m_view->FramesShown() == shown; ++k)
            for (const nanoseconds left : {nanoseconds(0), nanoseconds(1)})
                m_view->OnLoopPass(left, m_mailbox.Offer(m_surface));
        ASSERT_EQ(m_view->FramesShown(), shown + 1);
    }
    const auto pass = [&](nanoseconds nextStepIn) { return m_view->OnLoopPass(nextStepIn, false); };
    constexpr nanoseconds kNever = nanoseconds::max();
    pass(nanoseconds(0));
    EXPECT_EQ(pass(nanoseconds(1)), nanoseconds::zero()) << "a step, the next a nanosecond off";
    EXPECT_EQ(pass(kNever), kNever) << "paused";
    pass(nanoseconds(0));
    EXPECT_EQ(pass(std::chrono::hours(1)), kNever) << "a step, the next an hour off";
}
