#include "PrompterDisplay.h"

#include "DisplayProbe.h"
#include "FrameMailbox.h"
#include "PrompterRunFixture.h"
#include "ScanOut.h"
#include "Surface.h"

#include <QGuiApplication>
#include <QScreen>

// Taking the display over and giving it back: what is created, what a
// failure at each step releases and in which order.
class PrompterDisplay : public PrompterRunFixture
{
  protected:
    void SetUp() override
    {
        PrompterRunFixture::SetUp();
        window = CreatePrompterWindow();
    }

    void TearDown() override
    {
        window.reset();
        PrompterRunFixture::TearDown();
    }

    using Events = std::vector<std::string>;

    static bool NoSurfaces()
    {
        return !g_runState.primarySurface && !g_runState.offscreenSurface &&
               !g_runState.mirrorSurface;
    }

    std::unique_ptr<CPrompterWindow> window;
    DisplayProbe probe;
};

TEST_F(PrompterDisplay, OpensTwoSurfacesOrThreeWhenMirroredFullScreenAndClosesInOrder)
{
    for (const bool mirror : {false, true}) {
        SCOPED_TRACE(mirror);
        probe.events.clear();
        g_runParams.mirror = mirror;
        auto display = OpenPrompterDisplay(&probe);
        ASSERT_TRUE(display);
        Events expected{"create display", "create primary", "create offscreen"};
        if (mirror)
            expected.push_back("create mirror");
        EXPECT_EQ(probe.events, expected);
        EXPECT_TRUE(g_runState.primarySurface && g_runState.offscreenSurface);
        EXPECT_EQ(g_runState.mirrorSurface != nullptr, mirror);
        EXPECT_GT(g_runState.lineHeight, 0);
        EXPECT_TRUE(window->isFullScreen());
        EXPECT_EQ(window->geometry(), QGuiApplication::primaryScreen()->geometry());
        EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
        // Closing restores the screen, then releases the primary, then the display.
        probe.events.clear();
        ClosePrompterDisplay(std::move(display));
        EXPECT_EQ(probe.events, (Events{"release primary", "release display"}));
        EXPECT_TRUE(NoSurfaces());
        EXPECT_FALSE(window->isFullScreen());
    }
}

TEST_F(PrompterDisplay, AFailedStepReleasesWhatWasMadeInOrder)
{
    struct Case {
        DisplayStep failAt;
        Events events;
    };
    const Case cases[] = {
        {DisplayStep::CreateDisplay, {}},
        {DisplayStep::CreatePrimarySurface, {"create display", "release display"}},
        {DisplayStep::CreateOffscreenSurface,
         {"create display", "create primary", "release primary", "release display"}},
        {DisplayStep::CreateMirrorSurface,
         {"create display", "create primary", "create offscreen", "release primary",
          "release offscreen", "release display"}}};
    g_runParams.mirror = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.failAt));
        probe.events.clear();
        probe.failAt = c.failAt;
        EXPECT_FALSE(OpenPrompterDisplay(&probe));
        EXPECT_EQ(probe.events, c.events);
        EXPECT_TRUE(NoSurfaces());
        EXPECT_FALSE(window->isFullScreen());
    }
}

TEST_F(PrompterDisplay, AFrameIsHandedOverOnlyWhenTheScreenWantsOneAndThePictureChanged)
{
    FrameMailbox mailbox;
    Surface surface;
    EXPECT_FALSE(mailbox.Take());
    EXPECT_FALSE(mailbox.Offer(surface));
    EXPECT_FALSE(mailbox.Wanted());
    surface.Row(7)[3] = 200;
    EXPECT_TRUE(mailbox.Offer(surface)); // not wanted: the earlier copy stays
    EXPECT_EQ(mailbox.Posted(), 1U);
    ASSERT_EQ(mailbox.Take(), 1U);
    EXPECT_EQ(mailbox.Taken().indices.size(), std::size_t{640 * 480});
    EXPECT_EQ(mailbox.Taken().indices[7 * 640 + 3], 0);
    EXPECT_FALSE(mailbox.Wanted()); // until the presenter asks again
    EXPECT_FALSE(mailbox.Take());
    mailbox.Want();
    EXPECT_FALSE(mailbox.Offer(surface));
    ASSERT_EQ(mailbox.Take(), 2U);
    EXPECT_EQ(mailbox.Taken().indices[7 * 640 + 3], 200);
    // A picture that did not change is not posted again (a paused run),
    // unless a presenter starting afresh asks for it.
    mailbox.Want();
    EXPECT_FALSE(mailbox.Offer(surface));
    EXPECT_EQ(mailbox.Posted(), 2U);
    mailbox.WantAfresh();
    mailbox.Offer(surface);
    EXPECT_EQ(mailbox.Posted(), 3U);
    // Whatever the presenter has done with it, the newest frame can be read.
    ScanOutFrame preview;
    EXPECT_EQ(mailbox.CopyNewest(preview, 0), 3U);
    EXPECT_EQ(preview.indices[7 * 640 + 3], 200);
    mailbox.Take();
    preview.indices.clear();
    EXPECT_EQ(mailbox.CopyNewest(preview, 3), 3U);
    EXPECT_TRUE(preview.indices.empty()); // already had it
    EXPECT_EQ(mailbox.CopyNewest(preview, 0), 3U);
    EXPECT_EQ(preview.indices[7 * 640 + 3], 200);
}

TEST(ScanOut, TheFrameFillsTheLargestCentredFourByThreeRectangle)
{
    EXPECT_EQ(ScanOutRect(QSize(1920, 1080)), QRect(240, 0, 1440, 1080));
    EXPECT_EQ(ScanOutRect(QSize(800, 600)), QRect(0, 0, 800, 600));
    EXPECT_EQ(ScanOutRect(QSize(1024, 1280)), QRect(0, 256, 1024, 768));
    EXPECT_EQ(ScanOutRect(QSize(0, 0)), QRect(0, 0, 0, 0));
}

TEST(ScanOut, AWholeScaleRepeatsEveryPixelAndOtherwiseOneScreenPixelBlendsPerSourcePixel)
{
    const auto whole = ScanOutTaps(640, 1280);
    for (int o = 0; o < 1280; ++o) {
        EXPECT_EQ(whole[o].first, o / 2);
        EXPECT_EQ(whole[o].weight % 256, 0) << o;
    }
    int blended = 0;
    for (const ScanOutTap& tap : ScanOutTaps(480, 1080)) { // 2.25 screen pixels a row
        EXPECT_GE(tap.weight, 0);
        EXPECT_LE(tap.weight, 256);
        blended += tap.weight != 0 && tap.weight != 256;
    }
    EXPECT_LE(blended, 480);
}
