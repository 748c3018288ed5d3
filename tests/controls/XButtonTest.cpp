#include "XButton.h"
#include "ResourceIds.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

namespace
{

constexpr ColorRef kFace = 0x00332211; // RGB(0x11, 0x22, 0x33)
const QColor kLight(250, 250, 250);
const QColor kDark(60, 60, 60);

QRgb Rgb(ColorRef c)
{
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

QPixmap Solid(int width, int height, const QColor& color)
{
    QPixmap pixmap(width, height);
    pixmap.fill(color);
    return pixmap;
}

// A button with a known face and known edge colours, no caption.
void Prepare(CXButton& button, int width = 20, int height = 10)
{
    QPalette colors = button.palette();
    colors.setColor(QPalette::Light, kLight);
    colors.setColor(QPalette::Dark, kDark);
    button.setPalette(colors);
    for (auto face : {CXButton::BackHot, CXButton::BackNormal, CXButton::BackFocused})
        button.SetStateColor(face, kFace, false);
    button.resize(width, height);
}

QImage Shot(QWidget& widget)
{
    return widget.grab().toImage();
}

void MoveMouse(QWidget& widget, QPoint at, Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void DoubleClick(QWidget& widget)
{
    const QPoint at = widget.rect().center();
    QTest::mousePress(&widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, widget.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &twice);
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, at);
}

} // namespace

TEST(XButtonColors, ShiftStateColorKeepsTheComponentsApartWithinTheirRangeAndRefusesBadInput)
{
    for (const auto& [shade, shifted] :
         {std::pair{100, MakeColorRef(255, 155, 105)}, std::pair{-100, MakeColorRef(150, 50, 0)}}) {
        CXButton button;
        button.SetStateColor(CXButton::BackHot, MakeColorRef(200, 100, 50), false);
        EXPECT_EQ(button.ShiftStateColor(CXButton::BackHot, shade, false), CXButton::ButtonOk);
        EXPECT_EQ(button.StateColor(CXButton::BackHot), shifted) << shade;
    }
    // A bad index or shade is refused and changes nothing.
    CXButton button;
    button.SetStateColor(CXButton::TextFocused, 0x00123456, false);
    EXPECT_EQ(button.SetStateColor(6, 0x00FFFFFF, true), CXButton::ButtonBadIndex);
    EXPECT_EQ(button.ShiftStateColor(6, 10, true), CXButton::ButtonBadIndex);
    EXPECT_EQ(button.ShiftStateColor(CXButton::TextFocused, 256, true), CXButton::ButtonBadValue);
    EXPECT_EQ(button.ShiftStateColor(CXButton::TextFocused, -256, true), CXButton::ButtonBadValue);
    EXPECT_EQ(button.StateColor(CXButton::TextFocused), 0x00123456u);
    EXPECT_EQ(button.ShiftStateColor(CXButton::TextFocused, 255, false), CXButton::ButtonOk);
}

TEST(XButtonColors, ASystemPaletteChangeResetsAllSixColours)
{
    CXButton button;
    for (int index = 0; index < 6; ++index)
        button.SetStateColor(index, 0x00010203, false);
    const QPalette before = QGuiApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Button, QColor(10, 20, 30));
    changed.setColor(QPalette::ButtonText, QColor(200, 210, 220));
    QApplication::setPalette(changed);
    QCoreApplication::processEvents();
    QApplication::setPalette(before);
    for (auto face : {CXButton::BackHot, CXButton::BackNormal, CXButton::BackFocused})
        EXPECT_EQ(button.StateColor(face), MakeColorRef(10, 20, 30));
    for (auto ink : {CXButton::TextHot, CXButton::TextNormal, CXButton::TextFocused})
        EXPECT_EQ(button.StateColor(ink), MakeColorRef(200, 210, 220));
}

TEST(XButtonLook, TheEdgeTheIconAndItsPlaceFollowHoverPressAndCheck)
{
    const QRgb active = QColor(Qt::red).rgb(), idle = QColor(Qt::green).rgb();
    const QPoint centred(7, 2), pushed(8, 3); // a pressed push button's icon moves by one pixel
    struct Case {
        const char* what;
        bool checkBox, checked, hot, pressed;
        QRgb icon;
        QPoint iconAt;
        QRgb topLeft, bottomRight; // the left edge, then the right edge
    };
    const Case cases[] = {
        {"push at rest", false, false, false, false, idle, centred, Rgb(kFace), Rgb(kFace)},
        {"push hot", false, false, true, false, active, centred, kLight.rgb(), kDark.rgb()},
        {"push pressed", false, false, false, true, active, pushed, kDark.rgb(), kLight.rgb()},
        {"checked box", true, true, false, false, active, centred, kDark.rgb(), kLight.rgb()},
        {"unchecked box hot", true, false, true, false, idle, centred, kLight.rgb(), kDark.rgb()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CXButton button(nullptr, c.checkBox);
        Prepare(button, 30, 20);
        button.SetIcons(Solid(16, 16, Qt::red), Solid(16, 16, Qt::green));
        button.SetChecked(c.checked, true);
        if (c.hot) {
            MoveMouse(button, {3, 3});
            ASSERT_TRUE(button.IsHovered());
        }
        button.setDown(c.pressed);
        const QImage shot = Shot(button);
        EXPECT_EQ(shot.pixel(c.iconAt), c.icon);
        EXPECT_EQ(shot.pixel(c.iconAt + QPoint(15, 15)), c.icon);
        EXPECT_EQ(shot.pixel(c.iconAt - QPoint(1, 1)), Rgb(kFace));
        EXPECT_EQ(shot.pixel(0, 0), c.topLeft);
        EXPECT_EQ(shot.pixel(0, 18), c.topLeft);
        EXPECT_EQ(shot.pixel(29, 0), c.bottomRight);
        EXPECT_EQ(shot.pixel(29, 19), c.bottomRight);
    }
}

TEST(XButtonLook, TheGreyCopyKeepsBlackAndTransparencyAndGreysColours)
{
    QImage icon(4, 2, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(0, 0, qRgb(0, 0, 0));
    icon.setPixel(1, 0, qRgb(200, 100, 50));
    icon.setPixel(2, 0, qRgb(255, 0, 0));
    CXButton button;
    Prepare(button);
    ASSERT_EQ(button.SetIcons(QPixmap::fromImage(icon), CXButton::AutoGray), CXButton::ButtonOk);
    // No caption: the 4 x 2 icon is centred at (8, 4).
    const QImage idle = Shot(button);
    EXPECT_EQ(idle.pixel(8, 4), qRgb(0, 0, 0));
    // 0.587 * 100 + 0.299 * 200 + 0.114 * 50 = 124.2
    EXPECT_EQ(idle.pixel(9, 4), qRgb(124, 124, 124));
    // 0.299 * 255 = 76.2
    EXPECT_EQ(idle.pixel(10, 4), qRgb(76, 76, 76));
    EXPECT_EQ(idle.pixel(11, 4), Rgb(kFace));
    EXPECT_EQ(idle.pixel(8, 5), Rgb(kFace));
    // Hot, the colours come back.
    MoveMouse(button, {2, 2});
    EXPECT_EQ(Shot(button).pixel(9, 4), qRgb(200, 100, 50));
}

TEST(XButtonLook, WithACaptionTheIconSitsAtTheMarginAndTheCaptionBesideIt)
{
    CXButton button;
    Prepare(button, 60, 20);
    button.SetIcons(Solid(10, 10, Qt::red), CXButton::NoIdleIcon);
    const QImage bare = Shot(button);
    EXPECT_EQ(bare.pixel(25, 5), QColor(Qt::red).rgb()); // centred: 25 .. 34
    EXPECT_EQ(bare.pixel(24, 5), Rgb(kFace));
    button.setText(QStringLiteral("Go"));
    const QImage captioned = Shot(button);
    EXPECT_EQ(captioned.pixel(3, 5), QColor(Qt::red).rgb()); // margin 3: 3 .. 12
    EXPECT_EQ(captioned.pixel(2, 5), Rgb(kFace));
    EXPECT_EQ(captioned.pixel(25, 5), Rgb(kFace));
    // The caption is somewhere right of the icon.
    bool ink = false;
    for (int x = 16; x < 60 && !ink; ++x)
        for (int y = 0; y < 20 && !ink; ++y)
            ink = captioned.pixel(x, y) != Rgb(kFace);
    EXPECT_TRUE(ink);
}

TEST(XButtonLook, AnImageButtonsCaptionIsNotScatteredOverItsImage)
{
    CXButton button;
    Prepare(button);
    button.setText(QStringLiteral("Select &Font Type and Size"));
    button.SetIcons(Solid(75, 25, Qt::red), CXButton::NoIdleIcon);
    button.SizeToImage();
    const QImage shot = Shot(button);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ASSERT_EQ(shot.pixel(x, y), QColor(Qt::red).rgb()) << x << "," << y;
}

TEST(XButtonImage, SizeToImageUsesTheHotSpotRuleAndAMissingPictureChangesNothing)
{
    CXButton button;
    button.resize(90, 40);
    button.SizeToImage(); // no icon: nothing happens
    EXPECT_EQ(button.size(), QSize(90, 40));
    EXPECT_EQ(button.ImageMargin(), 3);
    EXPECT_EQ(button.SetIcons(9999, CXButton::AutoGray), CXButton::ButtonOk); // no such artwork
    button.SizeToImage();
    EXPECT_EQ(button.size(), QSize(90, 40));
    button.SetIcons(Solid(75, 25, Qt::blue), CXButton::AutoGray);
    button.SizeToImage();
    EXPECT_EQ(button.size(), QSize(74, 24));
    EXPECT_EQ(button.ImageMargin(), 0);
    CXButton scroll;
    EXPECT_EQ(scroll.SetIcons(Ids::kScrollIcon, CXButton::AutoGray), CXButton::ButtonOk);
    scroll.SizeToImage();
    EXPECT_EQ(scroll.size(), QSize(74, 24));
}

TEST(XButtonCheck, TheCheckMessageChecksABoxForOneAndTwoAndNeverARadioButton)
{
    CXButton box(CXButton::ButtonType::AutoCheckBox, nullptr);
    EXPECT_TRUE(box.IsCheckBox());
    for (const auto& [value, checked] :
         {std::pair{2, true}, std::pair{3, false}, std::pair{1, true}, std::pair{0, false}}) {
        EXPECT_EQ(box.SetCheck(value), 0);
        EXPECT_EQ(box.IsChecked(), checked) << value;
    }
    EXPECT_TRUE(CXButton(CXButton::ButtonType::GroupBox, nullptr).IsCheckBox());
    for (auto radio : {CXButton::ButtonType::RadioButton, CXButton::ButtonType::AutoRadioButton}) {
        CXButton button(radio, nullptr);
        EXPECT_FALSE(button.IsCheckBox());
        EXPECT_EQ(button.SetChecked(true, true), CXButton::ButtonOk);
        button.SetCheck(1);
        EXPECT_FALSE(button.IsChecked());
    }
}

TEST(XButtonCheck, EachClickTogglesABoxAndADoubleClickCountsAsTwo)
{
    for (const bool twice : {false, true}) {
        for (const bool checkBox : {true, false}) {
            SCOPED_TRACE(testing::Message() << "double " << twice << ", box " << checkBox);
            QWidget owner;
            auto* button = new CXButton(&owner, checkBox);
            button->resize(40, 12);
            QSignalSpy clicks(button, &QAbstractButton::clicked);
            if (twice)
                DoubleClick(*button);
            else
                QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_EQ(clicks.count(), twice ? 2 : 1);
            EXPECT_EQ(button->IsChecked(), checkBox && !twice);
        }
    }
}

TEST(XButtonStyle, TheStyleMessageMakesAndUnmakesTheDefaultButton)
{
    EXPECT_TRUE(CXButton(CXButton::ButtonType::DefPushButton, nullptr).IsDefault());
    CXButton button;
    button.SetButtonStyle(CXButton::ButtonType::DefPushButton, true);
    EXPECT_TRUE(button.IsDefault());
    button.SetButtonStyle(CXButton::ButtonType::CheckBox, true);
    EXPECT_TRUE(button.IsDefault());
    button.SetButtonStyle(CXButton::ButtonType::PushButton, true);
    EXPECT_FALSE(button.IsDefault());
}

TEST(XButtonHover, FollowsThePointerUnlessTheLeftButtonIsHeldAndEndsOnLeaveFocusLossOrDisable)
{
    CXButton button;
    button.resize(40, 12);
    MoveMouse(button, {5, 5}, Qt::LeftButton); // entered with the button held
    EXPECT_FALSE(button.IsHovered());
    MoveMouse(button, {5, 5});
    EXPECT_TRUE(button.IsHovered());
    QTest::mousePress(&button, Qt::LeftButton, {}, {5, 5});
    MoveMouse(button, {80, 5}, Qt::LeftButton); // pressed and moved off
    EXPECT_FALSE(button.IsHovered());
    MoveMouse(button, {5, 5}, Qt::LeftButton); // back on, still held
    EXPECT_FALSE(button.IsHovered());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {80, 5});
    MoveMouse(button, {5, 5});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.IsHovered());
    MoveMouse(button, {5, 5});
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&button, &out);
    EXPECT_FALSE(button.IsHovered());
    MoveMouse(button, {5, 5});
    button.setEnabled(false);
    EXPECT_FALSE(button.IsHovered());
}

namespace
{

// A shown, active dialog holding three buttons, one above the other.
class XButtonFocus : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            buttons[i] = new CXButton(&dialog);
            buttons[i]->setGeometry(0, 20 * i, 40, 12);
        }
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    QWidget dialog;
    CXButton* buttons[3] = {};
};

} // namespace

TEST_F(XButtonFocus, ADisabledButtonHandsTheFocusToTheNextTabStop)
{
    buttons[0]->setFocus();
    ASSERT_TRUE(buttons[0]->hasFocus());
    buttons[0]->setEnabled(false);
    EXPECT_TRUE(buttons[1]->hasFocus());
}

TEST_F(XButtonFocus, DisablingAButtonWithoutTheFocusLeavesTheFocusWhereItIs)
{
    buttons[2]->setFocus();
    buttons[0]->setEnabled(false);
    EXPECT_TRUE(buttons[2]->hasFocus());
}

TEST(XButtonToolTip, ANullTextChangesNothingAndAnInactiveTipShowsNothing)
{
    CXButton button;
    button.SetToolTipText(QStringLiteral("two"), true);
    button.SetToolTipText(QString(), true);
    EXPECT_EQ(button.toolTip(), QStringLiteral("two"));
    button.SetToolTipText(QStringLiteral("three"), false);
    EXPECT_TRUE(button.toolTip().isEmpty());
}

TEST(XButtonParentBackground, TheFaceIsACopyOfTheParentsBackground)
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette colors = parent.palette();
    colors.setColor(QPalette::Window, QColor(1, 99, 201));
    parent.setPalette(colors);
    parent.resize(50, 30);
    auto* box = new CXButton(&parent, true);
    box->setGeometry(10, 10, 30, 12);
    box->UseParentBackground(false);
    EXPECT_EQ(Shot(*box).pixel(15, 6), qRgb(1, 99, 201));
}
