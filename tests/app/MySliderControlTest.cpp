#include "MySliderControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

const QColor kParent(1, 99, 201);
const QColor kDark(60, 60, 60), kShadow(20, 20, 20), kLight(250, 250, 250),
    kMidlight(220, 220, 220);

// A slider 218 x 24 on a parent that paints one plain colour.
struct SliderOnParent {
    SliderOnParent()
    {
        parent.setAutoFillBackground(true);
        QPalette ground = parent.palette();
        ground.setColor(QPalette::Window, kParent);
        parent.setPalette(ground);
        parent.resize(260, 40);
        slider = new CMySliderControl(&parent);
        QPalette edges = slider->palette();
        edges.setColor(QPalette::Dark, kDark);
        edges.setColor(QPalette::Shadow, kShadow);
        edges.setColor(QPalette::Light, kLight);
        edges.setColor(QPalette::Midlight, kMidlight);
        slider->setPalette(edges);
        slider->setGeometry(10, 5, 218, 24);
        slider->setRange(0, 100);
        slider->setValue(0);
    }

    QImage Shot() const { return slider->grab().toImage(); }

    QWidget parent;
    CMySliderControl* slider;
};

} // namespace

TEST(SpeedSliderLook, TheParentsBackgroundTakenOnceShowsThroughTheChannelInsideASunkenEdge)
{
    SliderOnParent on;
    const QRect channel = on.slider->ChannelRect();
    ASSERT_GT(channel.width(), 100);
    const QImage shot = on.Shot();
    const int x = channel.left() + channel.width() * 3 / 4;
    EXPECT_EQ(shot.pixel(x, channel.center().y()), kParent.rgb());
    // The edge stands two pixels above and below the channel.
    EXPECT_EQ(shot.pixel(x, channel.top() - 2), kDark.rgb());
    EXPECT_EQ(shot.pixel(x, channel.top() - 1), kShadow.rgb());
    EXPECT_EQ(shot.pixel(x, channel.top()), kParent.rgb());
    EXPECT_EQ(shot.pixel(x, channel.bottom()), kParent.rgb());
    EXPECT_EQ(shot.pixel(x, channel.bottom() + 1), kMidlight.rgb());
    EXPECT_EQ(shot.pixel(x, channel.bottom() + 2), kLight.rgb());
    // The parent's picture is taken once and kept.
    QPalette ground = on.parent.palette();
    ground.setColor(QPalette::Window, Qt::red);
    on.parent.setPalette(ground);
    EXPECT_EQ(on.Shot().pixel(x, channel.center().y()), kParent.rgb());
}

TEST(SpeedSliderLook, BlackTickMarksSitBelowTheChannelAtEveryTenthOfTheRange)
{
    SliderOnParent on;
    const QImage shot = on.Shot();
    const int row = on.slider->ThumbRect().bottom() + 2;
    ASSERT_LT(row, shot.height());
    int ticks = 0;
    for (int x = 0; x < shot.width(); ++x)
        ticks += shot.pixel(x, row) == qRgb(0, 0, 0) ? 1 : 0;
    EXPECT_EQ(ticks, 11);
}

TEST(SpeedSliderLook, TheThumbTakesItsSelectedColourWhileDragged)
{
    SliderOnParent on;
    on.slider->SetThumbColors(MakeColorRef(10, 200, 30), MakeColorRef(196, 196, 196));
    const QPoint centre = on.slider->ThumbRect().center();
    EXPECT_EQ(on.Shot().pixel(centre), qRgb(10, 200, 30));
    on.slider->setSliderDown(true);
    EXPECT_EQ(on.Shot().pixel(centre), qRgb(196, 196, 196));
}

TEST(SpeedSliderInput, ADoubleClickMovesTheThumbLikeASecondClick)
{
    SliderOnParent on;
    on.slider->setPageStep(10);
    const QPoint farRight(on.slider->width() - 3, on.slider->ThumbRect().center().y());
    QTest::mousePress(on.slider, Qt::LeftButton, {}, farRight);
    QTest::mouseRelease(on.slider, Qt::LeftButton, {}, farRight);
    const int oneClick = on.slider->value();
    ASSERT_GT(oneClick, 0);
    QMouseEvent twice(QEvent::MouseButtonDblClick, farRight, on.slider->mapToGlobal(farRight),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on.slider, &twice);
    QTest::mouseRelease(on.slider, Qt::LeftButton, {}, farRight);
    EXPECT_EQ(on.slider->value(), 2 * oneClick);
}

TEST(SpeedSliderToolTip, ANullTextChangesNothingAndAnInactiveTipShowsNothing)
{
    CMySliderControl slider;
    slider.SetTooltipText(QStringLiteral("Sets the Starting Scroll Speed"), true);
    slider.SetTooltipText(QString(), true);
    EXPECT_EQ(slider.toolTip(), QStringLiteral("Sets the Starting Scroll Speed"));
    slider.SetTooltipText(QStringLiteral("hidden"), false);
    EXPECT_TRUE(slider.toolTip().isEmpty());
}
