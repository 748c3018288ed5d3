#pragma once

#include "FrameRenderer.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "SurfaceDc.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// The surface as it shows, top row first.
inline std::vector<std::uint8_t> Image(const Surface& s)
{
    std::vector<std::uint8_t> image(static_cast<std::size_t>(Surface::kWidth * Surface::kHeight));
    s.CopyRowsTo(image.data());
    return image;
}

inline std::vector<std::uint8_t> RowOf(const Surface& s, int y)
{
    return std::vector<std::uint8_t>(s.Row(y), s.Row(y) + Surface::kWidth);
}

// Whether any row from top (inclusive) to bottom (exclusive) holds ink.
inline bool HasInk(const Surface& s, int top, int bottom)
{
    for (int y = std::max(top, 0); y < std::min(bottom, Surface::kHeight); ++y)
        if (std::any_of(s.Row(y), s.Row(y) + Surface::kWidth,
                        [](std::uint8_t p) { return p != 0; }))
            return true;
    return false;
}

// Whether every row of one image is the same row of the other read right to left.
inline bool IsMirrorOf(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t row = 0; row < a.size(); row += Surface::kWidth)
        if (!std::equal(a.begin() + row, a.begin() + row + Surface::kWidth,
                        std::make_reverse_iterator(b.begin() + row + Surface::kWidth)))
            return false;
    return true;
}

inline std::string LineText(int k)
{
    return "Line " + std::to_string(k);
}

// "Line 0", "Line 1", ... each followed by CR LF, as the scroll command
// captures a script.
inline std::string NumberedScript(int lines)
{
    std::string text;
    for (int k = 0; k < lines; ++k)
        text += LineText(k) + "\r\n";
    return text;
}

// A scroll run on buffers the test owns: the surfaces a display would
// create, the run records in their program-start state, and a tick source
// under the test's control (every step is due unless the test says not).
class EngineFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        m_ticks = std::make_unique<ScopedTickSource>([this] {
            ++tickReads;
            return tickNow;
        });
    }

    void TearDown() override
    {
        m_ticks.reset();
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
    }

    // Opens a run on the fixture's surfaces the way the run start does, with
    // a small font so that tests stay quick; lineHeight forced when given.
    void StartRun(const std::string& script, int lines, bool mirror = false, int forcedHeight = 0,
                  int points = 12)
    {
        g_runParams.scriptText = script;
        g_runParams.lineCount = lines;
        g_runParams.mirror = mirror;
        CreatePrompterFont(QStringLiteral("DejaVu Sans"), points, 400);
        g_runState.primarySurface = &primary;
        g_runState.offscreenSurface = &offscreen;
        g_runState.mirrorSurface = mirror ? &work : nullptr;
        g_runState.lineHeight = forcedHeight > 0 ? forcedHeight : MeasureLineHeight(primary);
        ResetMotionForNewRun();
        DrawInitialImage();
        g_runState.running = true;
    }

    // Runs steps until the run pauses itself; returns how many moved.
    int StepUntilPaused(int limit = 10'000'000)
    {
        int steps = 0;
        while (!g_runState.paused && steps < limit) {
            ScrollStep();
            ++steps;
        }
        return steps;
    }

    // The strip a line gives: the line drawn at the top of a clean surface,
    // in the run's columns for text.
    static Surface RenderedLine(const std::string& text, int h)
    {
        Surface s;
        SurfaceDc dc(s);
        dc.SelectFont(PrompterFont());
        const TextColumns columns = TextColumnsFor(g_runParams.glass, g_runParams.readingCue);
        dc.DrawTextLine(QRect(columns.left, 0, columns.right - columns.left, h),
                        QString::fromStdString(text));
        return s;
    }

    Surface primary;   // the screen
    Surface offscreen; // initial image, then the line strip
    Surface work;      // mirror work surface
    std::uint64_t tickNow = 0;
    int tickReads = 0;

  private:
    std::unique_ptr<ScopedTickSource> m_ticks;
};
