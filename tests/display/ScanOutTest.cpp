#include "ScanOut.h"
#include "FrameMailbox.h"
#include "RasterScanOut.h"
#include "ScanOutFrame.h"
#include "ScanOutView.h"
#include "ScanOutWidget.h"
#include "Surface.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

namespace
{
// A window that notes the mouse presses that reach it.
class PressCounter : public QWidget
{
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

const QList<QRgb> kPalette = [] {
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(255 - i, 255 - i, 128));
    return palette;
}();

// Fills the surface with blocks of indices stepping by pattern; returns its frame.
std::vector<std::uint8_t> FillWithBlocks(Surface& surface, int pattern)
{
    for (int y = 0; y < Surface::kHeight; ++y)
        for (int x = 0; x < Surface::kWidth; ++x)
            surface.Row(y)[x] = static_cast<std::uint8_t>((x / 40 + y / 30) * pattern);
    std::vector<std::uint8_t> frame(640 * 480);
    surface.CopyRowsTo(frame.data());
    return frame;
}

// A frame of every index in no order, so that a wrong tap or rounding shows.
std::vector<std::uint8_t> NoisyFrame(unsigned seed)
{
    std::mt19937 noise(seed);
    std::vector<std::uint8_t> frame(640 * 480);
    for (auto& index : frame)
        index = static_cast<std::uint8_t>(noise() & 0xFF);
    return frame;
}
} // namespace

class ScanOutTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_window.resize(800, 500);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    PressCounter m_window;
    FrameMailbox m_mailbox;
};

TEST_F(ScanOutTest, WithoutAScreenToReachTheViewPaintsOnThisThreadOverItsWholeWindowPassingInput)
{
    const std::unique_ptr<QWidget> view(CreateScanOutWidget(&m_window, m_mailbox, {kPalette}, 60));
    EXPECT_NE(dynamic_cast<RasterScanOut*>(view.get()), nullptr);
    EXPECT_EQ(m_window.findChild<ScanOutView*>(), view.get());
    EXPECT_EQ(view->geometry(), m_window.rect());
    m_window.resize(1024, 300);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 1024, 300));
    // Mouse and keys still reach the window.
    QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, QPoint(400, 250));
    EXPECT_EQ(m_window.presses, 1);
    EXPECT_EQ(view->focusPolicy(), Qt::NoFocus);
}

TEST_F(ScanOutTest, APostedFrameReachesTheScreenScaledByTheRule)
{
    const auto view = std::unique_ptr<ScanOutView>(
        static_cast<ScanOutView*>(CreateScanOutWidget(&m_window, m_mailbox, {kPalette}, 60)));
    Surface surface;
    const std::vector<std::uint8_t> frame = FillWithBlocks(surface, 16);
    m_mailbox.Offer(surface);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->FramesShown() > 0; }, 5000));
    const QImage expected = ScanOutImage(frame, kPalette, m_window.size());
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

// Driven by a scroll loop, the view's work happens at the loop's passes:
// scaling a band at each, and showing a finished frame only at a pass whose
// next step is far off, or once it has waited half a refresh.
TEST_F(ScanOutTest, DrivenByTheLoopAFrameIsShownWhenTheNextStepIsFarOffOrAfterHalfARefresh)
{
    // Two refreshes a second, so that half a refresh is long against the test.
    const auto view =
        std::unique_ptr<ScanOutView>(CreateScanOutWidget(&m_window, m_mailbox, {kPalette}, 2));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    Surface surface;
    const auto passes = [&](int count, bool stepIsFar) {
        for (int k = 0; k < count; ++k) {
            m_mailbox.Offer(surface);
            view->OnLoopPass(stepIsFar ? std::chrono::hours(1) : std::chrono::nanoseconds(0),
                             false);
        }
    };
    const auto onScreen = [&] {
        return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };

    QImage expected = ScanOutImage(FillWithBlocks(surface, 16), kPalette, m_window.size());
    passes(1000, false); // every band scaled, and every pass with a step near
    EXPECT_EQ(view->FramesShown(), 0U);
    passes(1, true);
    EXPECT_EQ(view->FramesShown(), 1U);
    EXPECT_EQ(view->LastFrameShown(), 1U);
    EXPECT_EQ(onScreen(), expected);

    // Nothing more is posted until the refresh asks for it.
    const std::vector<std::uint8_t> nine = FillWithBlocks(surface, 9);
    expected = ScanOutImage(nine, kPalette, m_window.size());
    passes(1000, true);
    EXPECT_EQ(view->FramesShown(), 1U);
    m_mailbox.Want();
    passes(1000, false);
    EXPECT_EQ(view->FramesShown(), 1U);
    QThread::msleep(300);
    passes(1, false);
    EXPECT_EQ(view->FramesShown(), 2U);
    EXPECT_EQ(view->LastFrameShown(), 2U);
    EXPECT_EQ(onScreen(), expected);

    // The same picture (a paused run) is not even posted again.
    m_mailbox.Want();
    passes(1000, true);
    EXPECT_EQ(m_mailbox.Posted(), 2U);
    EXPECT_EQ(view->FramesShown(), 2U);

    // At a new size the frame on the screen is scaled again.
    m_window.resize(640, 700);
    expected = ScanOutImage(nine, kPalette, m_window.size());
    passes(1000, true);
    EXPECT_EQ(view->FramesShown(), 3U);
    EXPECT_EQ(onScreen(), expected);
}

// A loop that fell behind the beat (a paused run that starts moving) wants
// one frame at once, and the next only a refresh later, never two at once.
TEST_F(ScanOutTest, AfterFallingBehindTheBeatTheNextFrameIsWantedARefreshLater)
{
    const auto view =
        std::unique_ptr<ScanOutView>(CreateScanOutWidget(&m_window, m_mailbox, {kPalette}, 2));
    Surface surface;
    const auto pass = [&] { view->OnLoopPass(std::chrono::hours(1), m_mailbox.Offer(surface)); };
    FillWithBlocks(surface, 3);
    pass();
    QThread::msleep(1200); // more than two refreshes
    pass();                // the beat: a frame is wanted
    EXPECT_TRUE(m_mailbox.Wanted());
    FillWithBlocks(surface, 5);
    pass(); // posted
    const std::uint64_t posted = m_mailbox.Posted();
    FillWithBlocks(surface, 7);
    pass();
    pass();
    EXPECT_EQ(m_mailbox.Posted(), posted);
    EXPECT_FALSE(m_mailbox.Wanted());
}

TEST_F(ScanOutTest, DestroyingTheViewStopsScanOut)
{
    QPointer<QWidget> view = CreateScanOutWidget(&m_window, m_mailbox, {kPalette}, 60);
    delete view.data();
    Surface surface;
    m_mailbox.Offer(surface);
    QTest::qWait(50);
    EXPECT_TRUE(m_mailbox.Take()); // nobody took the frame
}

// The rule written out pixel by pixel: four source indices around the tap,
// blended with weights out of 256, rounded, looked up.
QImage ScanOutImageByTheRule(const std::vector<std::uint8_t>& frame, const QList<QRgb>& palette,
                             QSize area)
{
    QImage image(area, QImage::Format_RGB32);
    image.fill(palette.first());
    const QRect target = ScanOutRect(area);
    const auto columns = ScanOutTaps(Surface::kWidth, target.width());
    const auto rows = ScanOutTaps(Surface::kHeight, target.height());
    const auto index = [&](int x, int y) { return frame[static_cast<std::size_t>(y * 640 + x)]; };
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) {
            const ScanOutTap& col = columns[static_cast<std::size_t>(x)];
            const ScanOutTap& row = rows[static_cast<std::size_t>(y)];
            const int top = index(col.first, row.first) * (256 - col.weight) +
                            index(col.second, row.first) * col.weight;
            const int bottom = index(col.first, row.second) * (256 - col.weight) +
                               index(col.second, row.second) * col.weight;
            image.setPixel(target.left() + x, target.top() + y,
                           palette[(top * (256 - row.weight) + bottom * row.weight + 32768) >> 16]);
        }
    return image;
}

TEST(ScanOutImage, EveryPixelFollowsTheRule)
{
    const std::vector<std::uint8_t> frame = NoisyFrame(3);
    for (const QSize area :
         {QSize(1920, 1080), QSize(700, 900), QSize(641, 481), QSize(320, 240)}) {
        EXPECT_EQ(ScanOutImage(frame, kPalette, area), ScanOutImageByTheRule(frame, kPalette, area))
            << area.width() << " x " << area.height();
    }
}

TEST(ScanOutImage, AFrameScaledInBandsOfAnyHeightIsTheWholeFrameScaled)
{
    const std::vector<std::uint8_t> frame = NoisyFrame(5);
    const QSize area(1440, 1080);
    const QImage whole = ScanOutImage(frame, kPalette, area);
    ScanOutScaler scaler(area, ScanOutColoursOf(kPalette));
    for (const int band : {1, 2, 7, 24, 5000}) {
        QImage banded(area, QImage::Format_RGB32);
        banded.fill(Qt::red);
        scaler.Begin(frame, {});
        for (int first = 0; first < area.height(); first += band)
            scaler.Scale(first, band, banded.bits(), banded.bytesPerLine());
        EXPECT_EQ(banded, whole) << "bands of " << band;
    }
}

// The scaler keeps what it made of rows that only moved; whatever the
// picture did in between, the next frame must come out as if scaled afresh.
TEST(ScanOutImage, APictureThatMovedOrChangedComesOutAsIfScaledAfresh)
{
    Surface surface;
    const std::vector<std::uint8_t> noise = NoisyFrame(11);
    std::copy(noise.begin(), noise.end(), surface.Pixels());
    for (int y = 100; y < 140; ++y) // rows of one index, as between lines of text
        std::fill_n(surface.Row(y), Surface::kWidth, static_cast<std::uint8_t>(y));
    for (int y = 301; y < 340; ++y) { // rows two columns apart, as lines of text mostly are
        std::copy_n(surface.Row(300), Surface::kWidth, surface.Row(y));
        surface.Row(y)[y] ^= 0x33;
    }
    const auto moves = std::vector<std::function<void()>>{
        [&] { surface.ScrollUp(); },
        [&] {
            for (int k = 0; k < 3; ++k) {
                surface.ScrollUp();
                std::fill_n(surface.Row(479), Surface::kWidth, static_cast<std::uint8_t>(k * 80));
            }
        },
        [&] { surface.ScrollDown(); },
        [&] { surface.Row(200)[17] ^= 0x55; },
        [&] {
            for (int k = 0; k < 10; ++k)
                surface.ScrollDown();
        },
        [&] {},
    };
    for (const QSize area : {QSize(1440, 1080), QSize(700, 525), QSize(2880, 2160)}) {
        ScanOutScaler scaler(area, ScanOutColoursOf(kPalette));
        QImage kept(area, QImage::Format_RGB32);
        ScanOutFrame frame;
        for (std::size_t m = 0; m < moves.size(); ++m) {
            moves[m]();
            frame.CopyFrom(surface);
            scaler.Begin(frame.indices, frame.rowStamps);
            // Half the frame scaled, as when a newer frame overtakes it.
            scaler.Scale(0, m % 2 ? area.height() / 2 : area.height(), kept.bits(),
                         kept.bytesPerLine());
            if (m % 2)
                continue;
            EXPECT_EQ(kept, ScanOutImage(frame.indices, kPalette, area))
                << area.width() << " x " << area.height() << ", move " << m;
        }
    }
}

TEST(ScanOutImage, ATooSmallFrameOrPaletteShowsOnlyTheBackground)
{
    const std::vector<std::uint8_t> frame(640 * 480, 200);
    const QImage shortPalette = ScanOutImage(frame, {qRgb(1, 2, 3)}, QSize(800, 600));
    EXPECT_EQ(shortPalette.pixel(400, 300), qRgb(1, 2, 3));
    const QImage shortFrame = ScanOutImage({1, 2, 3}, kPalette, QSize(800, 600));
    EXPECT_EQ(shortFrame.pixel(400, 300), kPalette.first());
    EXPECT_TRUE(ScanOutImage(frame, kPalette, QSize(0, 0)).isNull());
}
