#include "EngineFixture.h"

#include <QFontInfo>
#include <QGuiApplication>

namespace
{
using TextRaster = EngineFixture;

// Rows top (inclusive) to bottom (exclusive) of a as they are in b from row bTop.
bool SameRows(const Surface& a, int top, int bottom, const Surface& b, int bTop)
{
    for (int y = top; y < bottom; ++y)
        if (!std::equal(a.Row(y), a.Row(y) + 640, b.Row(bTop + y - top)))
            return false;
    return true;
}
} // namespace

TEST(PrompterFont, TakesItsPixelSizeFromPointsAt96Dpi)
{
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 48, 400);
    EXPECT_EQ(PrompterFont().pixelSize(), 64);
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);
    EXPECT_EQ(PrompterFont().pixelSize(), 32);
    EXPECT_EQ(PrompterFont().weight(), QFont::Normal);
    EXPECT_EQ(QFontInfo(PrompterFont()).family(), QStringLiteral("DejaVu Sans"));
}

TEST(PrompterFont, CutsTheFaceToThirtyOneCharactersAndFallsBackToASansFace)
{
    CreatePrompterFont(QString(40, QLatin1Char('x')), 24, 400);
    EXPECT_EQ(PrompterFont().family(), QString(31, QLatin1Char('x')));
    CreatePrompterFont(QStringLiteral("No Such Face Anywhere"), 24, 400);
    QFont sans;
    sans.setStyleHint(QFont::SansSerif);
    sans.setFamily(QStringLiteral("sans-serif"));
    EXPECT_EQ(QFontInfo(PrompterFont()).family(), QFontInfo(sans).family());
}

TEST(PrompterFont, ASizeThatCannotBeMadeFallsBackToTheApplicationFont)
{
    for (int points : {0, -5, 2'000'000'000}) {
        CreatePrompterFont(QStringLiteral("DejaVu Sans"), points, 400);
        EXPECT_EQ(PrompterFont(), QGuiApplication::font()) << points;
    }
}

TEST_F(TextRaster, NeverReadsPastTheEndOfTheScript)
{
    // A line is read up to its line feed, keeping the carriage return.
    g_runParams.scriptText = "one\r\ntwo\r\n";
    EXPECT_EQ(ReadScriptLine(0), 4);
    EXPECT_EQ(g_runState.lineBuffer, "one\r");
    EXPECT_EQ(OffsetAfterLine(4), 5);
    EXPECT_EQ(ReadScriptLine(5), 9);
    EXPECT_EQ(g_runState.lineBuffer, "two\r");
    EXPECT_EQ(OffsetAfterLine(9), 10);
    g_runParams.scriptText = "no line feed";
    EXPECT_EQ(ReadScriptLine(2), 12);
    EXPECT_EQ(g_runState.lineBuffer, " line feed");
    EXPECT_EQ(OffsetAfterLine(12), 12);
    EXPECT_EQ(ReadScriptLine(12), 12);
    EXPECT_EQ(g_runState.lineBuffer, "");
    EXPECT_EQ(ReadScriptLine(500), 12);
    EXPECT_EQ(ReadScriptLine(-3), 12);
    EXPECT_EQ(g_runState.lineBuffer, "no line feed");
}

TEST_F(TextRaster, InitialImageStacksThreeLinesEndingAboveTheLastRow)
{
    StartRun(NumberedScript(5), 5);
    const int h = g_runState.lineHeight;
    for (int r = 0; r < 3; ++r) {
        const int top = 479 - (3 - r) * h;
        EXPECT_TRUE(SameRows(offscreen, top, top + h, RenderedLine(LineText(r), h), 0))
            << "line " << r;
    }
    EXPECT_FALSE(HasInk(offscreen, 0, 479 - 3 * h));
    EXPECT_FALSE(HasInk(offscreen, 479, 480));
    EXPECT_EQ(Image(primary), Image(offscreen));
    EXPECT_EQ(g_runState.lineIndex, 3);
    EXPECT_EQ(g_runState.stripRow, h + 1);
    EXPECT_EQ(g_runState.textPos, 24);
    EXPECT_EQ(g_runState.LineStartTable, (std::vector<int>{0, 8, 16, 24}));
}

TEST_F(TextRaster, ShortScriptsDrawTheLinesTheyHaveAndLeaveTheRestBackground)
{
    for (int lines = 0; lines <= 3; ++lines) {
        SCOPED_TRACE(lines);
        const std::string script = NumberedScript(lines);
        StartRun(script, lines);
        const int h = g_runState.lineHeight;
        for (int r = 0; r < 3; ++r) {
            const int top = 479 - (3 - r) * h;
            EXPECT_EQ(HasInk(offscreen, top, top + h), r < lines) << "line " << r;
        }
        for (int k = lines; k <= 3; ++k)
            EXPECT_EQ(LineStart(k), static_cast<int>(script.size()));
        EXPECT_EQ(g_runState.textPos, static_cast<int>(script.size()));
    }
}

TEST_F(TextRaster, StripLineIsCutAtTheRightEdgeAndAtTheLeftWhenMirrored)
{
    const std::string wide(200, 'W');
    StartRun(wide + "\r\n", 1);
    const int h = g_runState.lineHeight;
    g_runState.lineBuffer = wide;
    const auto drawStrip = [this] {
        SurfaceDc dc(offscreen);
        dc.SelectFont(PrompterFont());
        DrawStripLine(dc);
    };
    drawStrip();
    const Surface right = offscreen;
    g_runParams.mirror = true;
    drawStrip();
    bool inkAtEdge = false;
    for (int y = 0; y < h; ++y) {
        inkAtEdge = inkAtEdge || right.Row(y)[639] != 0;
        ASSERT_TRUE(std::equal(right.Row(y), right.Row(y) + 640,
                               std::make_reverse_iterator(offscreen.Row(y) + 640)))
            << "row " << y;
    }
    EXPECT_TRUE(inkAtEdge) << "the text runs on to the right edge";
    EXPECT_EQ(RowOf(right, h), RowOf(offscreen, h)) << "the gap row stays as it was";
}

TEST(PrompterFont, TheDefaultFaceWhereTheSystemLacksItIsShownHeavy)
{
    CreatePrompterFont(QStringLiteral("Arial Black"), 24, 400);
    EXPECT_EQ(PrompterFont().family(), QStringLiteral("Arial Black"));
    EXPECT_GE(QFontInfo(PrompterFont()).weight(), QFont::Bold);
}
