#include "ControlWindowFixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWindow>

// The window for an operator who works from the keyboard or with assistive
// technology: what the focus shows, what each control is called, how the
// slider's keys move it.
class ControlWindowAccess : public ControlWindowFixture
{
  protected:
    void SetUp() override
    {
        Open();
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }

    QWindow* Handle() const { return Window().windowHandle(); }
};

TEST_F(ControlWindowAccess, TabMarksEachFocusedButtonAndLeavesItAsItWasWhenTheFocusMovesOn)
{
    ASSERT_EQ(QApplication::focusWidget(), &Window().SpeedSlider());
    const int ids[] = {Ids::kFontButton,     Ids::kBackColorButton, Ids::kScrollButton,
                       Ids::kLoadFileButton, Ids::kSaveFileButton,  Ids::kMon1FwdCheck,
                       Ids::kMon1RevCheck,   Ids::kMouseWheelCheck};
    QHash<int, QImage> unfocused;
    for (const int id : ids)
        unfocused[id] = Box(id).grab().toImage();
    for (const int id : ids) {
        SCOPED_TRACE(id);
        CXButton& button = Box(id);
        while (QApplication::focusWidget() != &button)
            QTest::keyClick(Handle(), Qt::Key_Tab);
        EXPECT_TRUE(button.grab().toImage() != unfocused[id]);
        QTest::keyClick(Handle(), Qt::Key_Tab);
        EXPECT_TRUE(button.grab().toImage() == unfocused[id]);
    }
}

TEST_F(ControlWindowAccess, TheEditorTheSliderAndEveryButtonHaveDistinctNames)
{
    QList<QWidget*> controls = {&Editor(), &Window().SpeedSlider()};
    for (CXButton* button : Window().findChildren<CXButton*>())
        controls.append(button);
    QStringList names;
    for (QWidget* control : controls) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(access, nullptr);
        names.append(access->text(QAccessible::Name));
        EXPECT_FALSE(names.back().isEmpty()) << control->metaObject()->className();
    }
    EXPECT_EQ(names[0], QStringLiteral("Edit Window"));
    EXPECT_EQ(names[1], QStringLiteral("Scroll Speed"));
    names.removeDuplicates();
    EXPECT_EQ(names.size(), controls.size());
}

TEST_F(ControlWindowAccess, PageUpAndPageDownMoveTheSliderByAFifthOfItsRange)
{
    CMySliderControl& slider = Window().SpeedSlider();
    slider.setValue(16000);
    QTest::keyClick(Handle(), Qt::Key_PageDown);
    EXPECT_EQ(slider.value(), 16000 - 6400);
    QTest::keyClick(Handle(), Qt::Key_PageUp);
    QTest::keyClick(Handle(), Qt::Key_PageUp);
    EXPECT_EQ(slider.value(), 16000 + 6400);
}
