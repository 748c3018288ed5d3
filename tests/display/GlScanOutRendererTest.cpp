#include "GlScanOutRenderer.h"
#include "ScanOut.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

// The OpenGL presenter must show what the software rule computes, pixel for
// pixel, so that a grab of a run means the same on every path. Needs a
// platform that makes OpenGL contexts (the offscreen platform does when it
// has an X display, e.g. under xvfb-run); elsewhere the tests are skipped.
class GlScanOutRendererTest : public ::testing::TestWithParam<QSize>
{
  protected:
    void SetUp() override
    {
        m_surface.setFormat(GlScanOutRenderer::SurfaceFormat());
        m_surface.create();
        m_context.setFormat(GlScanOutRenderer::SurfaceFormat());
        if (!m_context.create() || !m_context.makeCurrent(&m_surface))
            GTEST_SKIP() << "no OpenGL context on this platform";
        if (m_context.format().version() < qMakePair(3, 0))
            GTEST_SKIP() << "OpenGL older than 3.0 on this platform";
    }

    void TearDown() override { m_context.doneCurrent(); }

    // A frame of every index in no order, so that a wrong tap or a wrong
    // rounding shows.
    static std::vector<std::uint8_t> NoisyFrame()
    {
        std::mt19937 noise(20);
        std::vector<std::uint8_t> frame(640 * 480);
        for (auto& index : frame)
            index = static_cast<std::uint8_t>(noise() & 0xFF);
        return frame;
    }

    // Colours unrelated to their neighbours, so that a lookup one off shows.
    static QList<QRgb> ScatteredPalette()
    {
        std::mt19937 noise(7);
        QList<QRgb> palette;
        for (int i = 0; i < 256; ++i)
            palette.append(qRgb(static_cast<int>(noise() & 0xFF), static_cast<int>(noise() & 0xFF),
                                static_cast<int>(noise() & 0xFF)));
        return palette;
    }

    static QImage Drawn(GlScanOutRenderer& renderer, const std::vector<std::uint8_t>& frame,
                        QSize area)
    {
        QOpenGLFramebufferObject target(area);
        target.bind();
        renderer.SetFrame(frame);
        renderer.Draw(area);
        target.release();
        return target.toImage().convertToFormat(QImage::Format_RGB32);
    }

    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
};

TEST_P(GlScanOutRendererTest, DrawsWhatTheSoftwareRuleComputes)
{
    const QList<QRgb> palette = ScatteredPalette();
    const std::unique_ptr<GlScanOutRenderer> renderer = GlScanOutRenderer::Create(palette);
    ASSERT_NE(renderer, nullptr);
    const std::vector<std::uint8_t> frame = NoisyFrame();
    // Drawn at another size first: the screen's size change must be followed at once.
    Drawn(*renderer, frame, QSize(800, 700));
    const QImage drawn = Drawn(*renderer, frame, GetParam());
    const QImage expected = ScanOutImage(frame, palette, GetParam());
    ASSERT_EQ(drawn.size(), expected.size());
    EXPECT_EQ(drawn, expected);
    // A frame of the wrong size shows only the background.
    const std::vector<std::uint8_t> shortFrame(640 * 479, 9);
    const QImage background = Drawn(*renderer, shortFrame, GetParam());
    EXPECT_EQ(background, ScanOutImage(shortFrame, palette, GetParam()));
    EXPECT_EQ(background.pixel(0, 0), palette.first());
}

// Wider than 4:3, taller than 4:3, exactly 4:3, the frame's own size,
// smaller than it, and a size again after another (the tap tables change).
INSTANTIATE_TEST_SUITE_P(Screens, GlScanOutRendererTest,
                         ::testing::Values(QSize(1920, 1080), QSize(1280, 720), QSize(700, 900),
                                           QSize(1024, 768), QSize(640, 480), QSize(333, 251)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

TEST_F(GlScanOutRendererTest, AShortPaletteShowsOnlyTheBackground)
{
    const QList<QRgb> palette{qRgb(10, 20, 30), qRgb(200, 100, 0)};
    const std::unique_ptr<GlScanOutRenderer> renderer = GlScanOutRenderer::Create(palette);
    ASSERT_NE(renderer, nullptr);
    const std::vector<std::uint8_t> frame(640 * 480, 1);
    const QImage drawn = Drawn(*renderer, frame, QSize(800, 600));
    EXPECT_EQ(drawn, ScanOutImage(frame, palette, QSize(800, 600)));
    EXPECT_EQ(drawn.pixel(400, 300), qRgb(10, 20, 30));
}
