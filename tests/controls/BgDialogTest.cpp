#include "BgDialog.h"
#include "ResourceIds.h"

#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

namespace
{

constexpr QRgb kDialogColor = 0xFFFF00FF; // what the skin does not cover shows this

// A 20 x 10 skin whose every pixel tells where it came from.
QPixmap CoordinateSkin()
{
    QImage image(20, 10, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 20, 77));
    return QPixmap::fromImage(image);
}

QRgb SkinAt(int x, int y)
{
    return qRgb(x * 10, y * 20, 77);
}

// Records the drags it is asked for and what the paint hook received.
class ProbeDialog : public CBgDialog
{
  public:
    ProbeDialog()
    {
        QPalette colors = palette();
        colors.setColor(QPalette::Window, QColor::fromRgb(kDialogColor));
        setPalette(colors);
    }

    void SizeClient(int width, int height)
    {
        resize(width, height);
        layout()->activate();
    }

    QImage Client() const { return ClientArea()->grab().toImage(); }

    int drags = 0;
    QImage composed;

  protected:
    void BeginWindowDrag() override { ++drags; }
    void OnAfterBackgroundPaint(QPainter& painter) override
    {
        composed = static_cast<QPixmap*>(painter.device())->toImage();
    }
};

void Press(QWidget* widget, Qt::MouseButton button)
{
    QTest::mousePress(widget, button, {}, QPoint(2, 2));
    QTest::mouseRelease(widget, button, {}, QPoint(2, 2));
}

void ExpectNoSkin(const CBgDialog& dialog)
{
    EXPECT_TRUE(dialog.BackgroundBitmap().isNull());
    EXPECT_EQ(QSize(dialog.BitmapWidth(), dialog.BitmapHeight()), QSize(0, 0));
}

} // namespace

TEST(BgDialogSkin, TileOnAClientOneAndAHalfTimesTheSkinGivesFourClippedCopiesToTheHookAndToChildren)
{
    ProbeDialog dialog;
    ASSERT_EQ(dialog.SetBackgroundBitmap(CoordinateSkin()), CBgDialog::BgOk);
    dialog.SizeClient(30, 15);
    const QImage shot = dialog.Client();
    ASSERT_EQ(shot.size(), QSize(30, 15));
    EXPECT_EQ(shot.pixel(0, 0), SkinAt(0, 0));
    EXPECT_EQ(shot.pixel(19, 9), SkinAt(19, 9));
    EXPECT_EQ(shot.pixel(20, 0), SkinAt(0, 0));  // the copy at (w, 0)
    EXPECT_EQ(shot.pixel(0, 10), SkinAt(0, 0));  // the copy at (0, h)
    EXPECT_EQ(shot.pixel(25, 12), SkinAt(5, 2)); // the copy at (w, h)
    EXPECT_EQ(shot.pixel(29, 14), SkinAt(9, 4)); // clipped at the client's edge
    ASSERT_EQ(dialog.composed.size(), QSize(30, 15));
    EXPECT_EQ(dialog.composed.pixel(25, 12), SkinAt(5, 2));
    // A child's background is the parent's picture at the child's place.
    auto* child = new QPushButton(dialog.ClientArea());
    child->setGeometry(3, 4, 6, 5);
    const QImage behind = CBgDialog::BackgroundBehind(*child).toImage();
    ASSERT_EQ(behind.size(), QSize(6, 5));
    EXPECT_EQ(behind.pixel(0, 0), SkinAt(3, 4));
    EXPECT_EQ(behind.pixel(5, 4), SkinAt(8, 8));
}

TEST(BgDialogSkin, CenterPutsTheSkinsMiddleAtTheClientsMiddle)
{
    // Each client size with the place of the skin's corner: a larger client shows the dialog
    // colour around the skin, a smaller one cuts the skin equally on both sides.
    const std::pair<QSize, QPoint> cases[] = {
        {{30, 20}, {5, 5}}, {{10, 10}, {-5, 0}}, {{20, 10}, {0, 0}}};
    for (const auto& [client, corner] : cases) {
        SCOPED_TRACE(client.width());
        ProbeDialog dialog;
        dialog.SetBackgroundBitmap(CoordinateSkin());
        dialog.FitClientToBitmap(false);
        dialog.SizeClient(client.width(), client.height());
        const QImage shot = dialog.Client();
        ASSERT_EQ(shot.size(), client);
        for (int y = 0; y < client.height(); ++y) {
            for (int x = 0; x < client.width(); ++x) {
                const QPoint in = QPoint(x, y) - corner;
                const QRgb expected =
                    QRect(0, 0, 20, 10).contains(in) ? SkinAt(in.x(), in.y()) : kDialogColor;
                ASSERT_EQ(shot.pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(BgDialogSkin, FitClientToBitmapSizesTheAreaBelowTheMenuBarWithoutMovingTheWindow)
{
    ProbeDialog dialog;
    auto* bar = new QMenuBar;
    bar->addMenu(QStringLiteral("&File"));
    dialog.SetMenuBar(bar);
    dialog.SetBackgroundBitmap(CoordinateSkin());
    dialog.move(100, 80);
    dialog.show();
    QCoreApplication::processEvents();
    const QPoint corner = dialog.pos();
    ASSERT_EQ(corner, QPoint(100, 80));
    EXPECT_EQ(dialog.FitClientToBitmap(true), 0);
    EXPECT_EQ(dialog.Mode(), CBgDialog::Center);
    EXPECT_EQ(dialog.ClientArea()->size(), QSize(20, 10));
    EXPECT_GT(dialog.ClientArea()->y(), 0); // below the menu bar
    EXPECT_EQ(dialog.pos(), corner);
}

TEST(BgDialogSkin, StartsBareInTileModeAndAReplacedSkinKeepsTheModeTillANullOrMissingOneRemovesIt)
{
    ProbeDialog dialog;
    dialog.setAutoFillBackground(true);
    dialog.SizeClient(30, 15);
    EXPECT_EQ(dialog.grab().toImage().pixel(10, 7), kDialogColor);
    EXPECT_EQ(dialog.Mode(), CBgDialog::Tile);
    ExpectNoSkin(dialog);
    dialog.SetBackgroundBitmap(CoordinateSkin());
    dialog.FitClientToBitmap(false);
    QPixmap wide(40, 5);
    wide.fill(Qt::red);
    EXPECT_EQ(dialog.SetBackgroundBitmap(wide), CBgDialog::BgOk);
    EXPECT_EQ(QSize(dialog.BitmapWidth(), dialog.BitmapHeight()), QSize(40, 5));
    EXPECT_EQ(dialog.Mode(), CBgDialog::Center);
    EXPECT_EQ(dialog.SetBackgroundBitmap(QPixmap()), CBgDialog::BgOk);
    ExpectNoSkin(dialog);
    // A skin from the artwork comes at its own size; a missing one leaves no skin.
    EXPECT_EQ(dialog.SetBackgroundBitmap(Ids::kSkinBitmap), CBgDialog::BgOk);
    EXPECT_EQ(QSize(dialog.BitmapWidth(), dialog.BitmapHeight()), QSize(640, 480));
    EXPECT_EQ(dialog.SetBackgroundBitmap(9999), CBgDialog::BgOk);
    ExpectNoSkin(dialog);
}

TEST(BgDialogDrag, OnceEnabledByOneOnlyALeftPressOnTheBackgroundOrALabelStartsADrag)
{
    ProbeDialog dialog;
    dialog.SizeClient(60, 30);
    EXPECT_EQ(dialog.EnableDragByBackground(2), 0); // only the value one enables dragging
    Press(dialog.ClientArea(), Qt::LeftButton);
    EXPECT_EQ(dialog.drags, 0);
    dialog.EnableDragByBackground(1);
    auto* button = new QPushButton(QStringLiteral("b"), dialog.ClientArea());
    button->setGeometry(0, 0, 20, 20);
    auto* label = new QLabel(QStringLiteral("label"), dialog.ClientArea());
    label->setGeometry(30, 0, 20, 20);
    Press(dialog.ClientArea(), Qt::RightButton);
    Press(button, Qt::LeftButton);
    EXPECT_EQ(dialog.drags, 0);
    Press(label, Qt::LeftButton); // labels let their presses through, as statics do
    EXPECT_EQ(dialog.drags, 1);
    Press(dialog.ClientArea(), Qt::LeftButton);
    EXPECT_EQ(dialog.drags, 2);
}
