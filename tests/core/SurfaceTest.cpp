#include "EngineFixture.h"
#include "SurfacePalette.h"

namespace
{
// Gives every row of the surface its own value, so moves are visible.
void NumberRows(Surface& s)
{
    for (int y = 0; y < Surface::kHeight; ++y)
        std::fill(s.Row(y), s.Row(y) + Surface::kWidth, static_cast<std::uint8_t>(y % 251));
}
} // namespace

TEST(Surface, StartsInTheBackgroundAndCopiesNoRowFromOutsideTheSurface)
{
    Surface src, dest;
    EXPECT_FALSE(HasInk(dest, 0, 480));
    src.Fill(9);
    dest.Fill(4);
    dest.CopyRowFrom(479, src, -1);
    dest.CopyRowFrom(0, src, 480);
    dest.CopyRowFrom(-1, src, 0);
    dest.CopyRowFrom(480, src, 0);
    for (auto px : Image(dest))
        ASSERT_EQ(px, 4);
    dest.CopyRowFrom(479, src, 479);
    EXPECT_EQ(dest.Row(479)[0], 9);
    EXPECT_EQ(dest.Row(478)[639], 4);
}

TEST(Surface, ScrollingMovesEveryRowOneWayAndRepeatsTheRowAtTheEdge)
{
    Surface up, down;
    NumberRows(up);
    NumberRows(down);
    up.ScrollUp();
    down.ScrollDown();
    for (int y = 0; y < 479; ++y) {
        ASSERT_EQ(up.Row(y)[5], (y + 1) % 251) << y;
        ASSERT_EQ(down.Row(y + 1)[5], y % 251) << y;
    }
    EXPECT_EQ(up.Row(479)[5], 479 % 251);
    EXPECT_EQ(down.Row(0)[5], 0);
}

TEST(Surface, ReadOutAndPixelsShowTheImageTopToBottomAfterPanning)
{
    Surface s;
    NumberRows(s);
    Surface label;
    // Feed a new numbered row at the edge after every move, as the scroll does.
    for (int k = 480; k < 780; ++k) {
        s.ScrollUp();
        std::fill(label.Row(0), label.Row(0) + 640, static_cast<std::uint8_t>(k % 251));
        s.CopyRowFrom(479, label, 0);
    }
    for (int k = 299; k >= 200; --k) {
        s.ScrollDown();
        std::fill(label.Row(0), label.Row(0) + 640, static_cast<std::uint8_t>(k % 251));
        s.CopyRowFrom(0, label, 0);
    }
    // Row y now shows the row numbered y + 200.
    std::vector<std::uint8_t> expected(static_cast<std::size_t>(640 * 480));
    for (int y = 0; y < 480; ++y)
        std::fill_n(expected.begin() + y * 640, 640, static_cast<std::uint8_t>((y + 200) % 251));
    EXPECT_EQ(Image(s), expected);
    std::vector<std::uint8_t> strided(static_cast<std::size_t>(700 * 480), 77);
    s.CopyRowsTo(strided.data(), 700);
    EXPECT_EQ(strided[640], 77);
    EXPECT_EQ(strided[700 * 479 + 639], expected.back());
    const std::uint8_t* pixels = s.Pixels();
    EXPECT_EQ(std::vector<std::uint8_t>(pixels, pixels + 640 * 480), expected);
}

TEST(SurfacePalette, RampsFromBackgroundToText)
{
    const ColorRef white = MakeColorRef(255, 255, 255);
    const ColorRef red = MakeColorRef(255, 0, 0);
    EXPECT_EQ(SurfacePaletteColor(white, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(SurfacePaletteColor(white, 0, 255), qRgb(0, 0, 0));
    EXPECT_EQ(SurfacePaletteColor(0, red, 255), qRgb(255, 0, 0));
    EXPECT_EQ(SurfacePaletteColor(0, red, 128), qRgb(128, 0, 0));
    const auto table = SurfacePalette(white, red);
    ASSERT_EQ(table.size(), 256);
    EXPECT_EQ(table[0], qRgb(255, 255, 255));
    EXPECT_EQ(table[255], qRgb(255, 0, 0));
}

TEST(TickSource, AnOverrideDecidesTheTicksAndIsUndoneWhenItEnds)
{
    std::uint64_t fake = 1234;
    {
        ScopedTickSource outer([&] { return fake; });
        EXPECT_EQ(ReadTicks(), 1234u);
        {
            ScopedTickSource inner([] { return std::uint64_t{7}; });
            EXPECT_EQ(ReadTicks(), 7u);
        }
        fake = 99;
        EXPECT_EQ(ReadTicks(), 99u);
    }
    const auto a = ReadTicks();
    const auto b = ReadTicks();
    EXPECT_GE(b, a);
    EXPECT_GT(a, 1234u);
}
