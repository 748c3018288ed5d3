#include "HyperLink.h"
#include "FakeDialogService.h"

#include <QCursor>
#include <QFontMetrics>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>
#include <utility>

// Rectangles read as x, y, width, height in failure messages.
void PrintTo(const QRect& r, std::ostream* out)
{
    *out << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height();
}

namespace
{

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);
const QColor kHoverColour(255, 0, 0);
const QString kAddress = QStringLiteral("https://example.org/prompter");

// A shown window holding one attached link away from the screen's corner,
// whose opener answers with `result` and counts its calls.
class HyperLinkTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // Keep the pointer off the link so the hover timer may end the hover look.
        QCursor::setPos(0, 0);
        owner.setGeometry(200, 200, 400, 200);
        link.setText(kAddress);
        link.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        link.setGeometry(40, 50, 300, 13);
        link.SetOpener([this](const QString& target) {
            opened.push_back(target);
            return result;
        });
        link.Attach();
        owner.show();
    }

    QColor DrawnColour() const { return link.palette().color(QPalette::WindowText); }

    FakeDialogService dialogs;
    QWidget owner;
    CHyperLink link{dialogs, &owner};
    int result = 42;
    QStringList opened;
};

} // namespace

TEST_F(HyperLinkTest, TakesItsCaptionAsTargetOrItsTargetAsCaptionWithAHandCursorAndAOneLineTip)
{
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(link.toolTip().isEmpty());
    EXPECT_FALSE(link.toolTip().contains(u'\n'));
    EXPECT_EQ(link.Target(), kAddress);
    CHyperLink other(dialogs, &owner);
    other.SetTarget(kAddress);
    other.Attach();
    EXPECT_EQ(other.text(), kAddress);
}

TEST_F(HyperLinkTest, ItsColourFollowsThePointerAndAClickOpensTheTargetAndTurnsVisited)
{
    EXPECT_TRUE(link.IsPointerOver()); // it starts in the hover look
    EXPECT_EQ(DrawnColour(), kHoverColour);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !link.IsPointerOver(); }));
    EXPECT_EQ(DrawnColour(), kLinkColour);
    EXPECT_EQ(link.CurrentTextColor(), kLinkColour);
    QTest::mouseMove(&link, QPoint(5, 5));
    EXPECT_TRUE(link.IsPointerOver());
    EXPECT_EQ(DrawnColour(), kHoverColour);
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened, QStringList({kAddress}));
    EXPECT_TRUE(link.IsVisited());
    EXPECT_FALSE(link.IsPointerOver());
    EXPECT_EQ(DrawnColour(), kVisitedColour);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.beeps, 0);
    QTest::mouseMove(&link, QPoint(6, 6));
    EXPECT_EQ(DrawnColour(), kHoverColour); // visited or not
}

TEST_F(HyperLinkTest, AFailedOpenBeepsReportsTheCodeAndLeavesTheVisitedStateAsItWas)
{
    const std::pair<int, QString> cases[] = {
        {26, QStringLiteral("A sharing violation occurred. ")},
        {1, QStringLiteral("Unknown Error (1) occurred.")},
        {-7, QStringLiteral("Unknown Error (-7) occurred.")},
        {0, QStringLiteral("The operating system is out\nof memory or resources.")},
        {31,
         QStringLiteral("There is no application associated\nwith the given filename extension.")}};
    for (const auto& [code, text] : cases) {
        SCOPED_TRACE(code);
        result = code;
        dialogs.messages.clear();
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(link.IsVisited());
        EXPECT_EQ(DrawnColour(), kLinkColour);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "Unable to open hyperlink:\n\n" + text);
        EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(dialogs.beeps, 5);
    result = 42;
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    result = 2;
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(link.IsVisited()); // a failure after a success keeps it visited
    EXPECT_EQ(dialogs.messages.back().text,
              QStringLiteral("Unable to open hyperlink:\n\nThe specified file was not found."));
}

TEST_F(HyperLinkTest, FitsItsTextKeepingTheEdgeItIsAlignedToAndAddingItsBorders)
{
    const QFontMetrics metrics(link.font());
    const int width = metrics.horizontalAdvance(kAddress);
    EXPECT_EQ(link.geometry(), QRect(40, 50, width, metrics.height()));
    CHyperLink framed(dialogs, &owner);
    framed.setFrameStyle(QFrame::Box | QFrame::Plain);
    framed.setLineWidth(1);
    framed.setAlignment(Qt::AlignRight | Qt::AlignTop);
    framed.setText(kAddress);
    framed.setGeometry(10, 20, 380, 40);
    framed.Attach();
    EXPECT_EQ(framed.geometry(), QRect(390 - width - 2, 20, width + 2, metrics.height() + 2));
}

TEST(HyperLinkFit, KeepsTheEdgeItIsAlignedToAndCentresByHalfTheDifferenceTruncated)
{
    struct Case {
        QRect area;
        QSize borders;
        QSize text;
        Qt::Alignment align;
        QRect fitted;
    };
    const Case cases[] = {
        {{10, 20, 100, 30}, {0, 0}, {60, 15}, Qt::AlignLeft, {10, 20, 60, 15}},
        {{10, 20, 100, 30}, {4, 2}, {60, 15}, Qt::AlignRight, {46, 20, 64, 17}},
        // Shrinking by 41: each edge moves in by 20, so one pixel of slack stays.
        {{0, 0, 101, 30}, {0, 0}, {60, 15}, Qt::AlignHCenter | Qt::AlignTop, {20, 0, 61, 15}},
        // Growing by 41: each edge moves out by 20.
        {{100, 0, 19, 30}, {0, 0}, {60, 15}, Qt::AlignHCenter | Qt::AlignTop, {80, 0, 59, 15}},
        {{0, 10, 50, 30}, {0, 0}, {50, 15}, Qt::AlignVCenter, {0, 17, 50, 16}}};
    for (const Case& c : cases)
        EXPECT_EQ(FitLinkRect(c.area, c.borders, c.text, c.align), c.fitted) << c.fitted.x();
}
