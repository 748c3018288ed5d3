#include "EngineFixture.h"

#include <QFont>
#include <QFontMetrics>

namespace
{
QFont TestFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(32);
    return font;
}

// The surface after drawing text at the top-left of a 640 x 48 rectangle.
Surface Drawn(const QString& text, const QRect& rect = QRect(0, 0, 640, 48))
{
    Surface s;
    SurfaceDc dc(s);
    dc.SelectFont(TestFont());
    dc.DrawTextLine(rect, text);
    return s;
}

// Leftmost and rightmost columns that hold any ink, or -1.
std::pair<int, int> InkColumns(const Surface& s)
{
    int left = -1, right = -1;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (s.Row(y)[x] != 0) {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

TEST(SurfaceDc, FillsOnlyThePartOfTheRectangleInsideTheSurface)
{
    Surface s;
    SurfaceDc dc(s);
    dc.FillRect(QRect(600, 470, 100, 100), 7);
    EXPECT_EQ(s.Row(470)[600], 7);
    EXPECT_EQ(s.Row(479)[639], 7);
    EXPECT_EQ(s.Row(469)[639], 0);
    EXPECT_EQ(s.Row(479)[599], 0);
}

TEST(SurfaceDc, DrawsTextInTheTextIndexWithCoverageEdges)
{
    const Surface s = Drawn(QStringLiteral("IIII"));
    const auto image = Image(s);
    EXPECT_EQ(*std::max_element(image.begin(), image.end()), SurfaceDc::kTextIndex);
    EXPECT_TRUE(std::any_of(image.begin(), image.end(), [](std::uint8_t p) {
        return p > 0 && p < 255;
    })) << "anti-aliased edges pick the indices between";
    EXPECT_FALSE(HasInk(s, 48, 480));
}

TEST(SurfaceDc, ClipsTextToItsRectangle)
{
    const Surface s = Drawn(QStringLiteral("Hg"), QRect(0, 0, 20, 16));
    const auto [left, right] = InkColumns(s);
    EXPECT_GE(left, 0);
    EXPECT_LT(right, 20);
    EXPECT_FALSE(HasInk(s, 16, 480));
}

TEST(SurfaceDc, ExpandsATabToTheNextStopEightAverageCharactersOn)
{
    const int stop = 8 * QFontMetrics(TestFont()).averageCharWidth();
    const Surface tabbed = Drawn(QStringLiteral("ab\tW"));
    Surface expected = Drawn(QStringLiteral("ab"));
    const Surface w = Drawn(QStringLiteral("W"), QRect(stop, 0, 640 - stop, 48));
    for (int y = 0; y < 48; ++y)
        for (int x = stop; x < 640; ++x)
            expected.Row(y)[x] = std::max(expected.Row(y)[x], w.Row(y)[x]);
    EXPECT_EQ(Image(tabbed), Image(expected));
}

TEST(SurfaceDc, ShowsAnAmpersandAsItselfWithNothingUnderlined)
{
    const QFontMetrics metrics(TestFont());
    const Surface s = Drawn(QStringLiteral("&b"));
    const auto [left, right] = InkColumns(s);
    EXPECT_LT(left, metrics.horizontalAdvance(QLatin1Char('&')));
    EXPECT_FALSE(HasInk(s, metrics.ascent() + 1, 480)) << "an underline shows below the baseline";
    EXPECT_NE(Image(s), Image(Drawn(QStringLiteral("b"))));
}

TEST(SurfaceDc, ACarriageReturnEndsWhatShows)
{
    EXPECT_EQ(Image(Drawn(QStringLiteral("ab\rcd"))), Image(Drawn(QStringLiteral("ab"))));
    EXPECT_EQ(InkColumns(Drawn(QStringLiteral("\rcd"))).first, -1);
}

TEST(SurfaceDc, MirrorsARectangleExactlyOntoItselfAndOntoAnotherSurface)
{
    Surface s;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            s.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y);
    const Surface original = s;
    Surface other;
    {
        SurfaceDc dc(s);
        dc.MirrorRectInto(QRect(0, 10, 640, 5), other);
        dc.MirrorRectInto(QRect(0, 0, 640, 480), s);
    }
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            ASSERT_EQ(s.Row(y)[x], original.Row(y)[639 - x]);
            const bool inRect = y >= 10 && y < 15;
            ASSERT_EQ(other.Row(y)[x], inRect ? original.Row(y)[639 - x] : 0);
        }
}

TEST(SurfaceDc, AFirstLetterThatReachesLeftOfItsOriginKeepsAllItsInk)
{
    // DejaVu's j hooks left of where it stands.
    const QFontMetrics metrics(TestFont());
    ASSERT_LT(metrics.leftBearing(u'j'), 0);
    const auto inkOf = [](const Surface& s) {
        const auto image = Image(s);
        return std::count_if(image.begin(), image.end(), [](std::uint8_t p) { return p != 0; });
    };
    const Surface atEdge = Drawn(QStringLiteral("jam"));
    const Surface inside = Drawn(QStringLiteral("jam"), QRect(100, 0, 540, 48));
    EXPECT_EQ(inkOf(atEdge), inkOf(inside));
    EXPECT_EQ(InkColumns(atEdge).first, 0);
}
