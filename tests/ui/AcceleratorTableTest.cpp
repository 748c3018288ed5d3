#include "AcceleratorTable.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

TEST(AcceleratorTable, MapsEachKeyWithExactlyItsModifiersToItsCommandAndNothingElse)
{
    constexpr auto kCtrl = Qt::ControlModifier;
    constexpr auto kShift = Qt::ShiftModifier;
    const struct {
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        int command; // 0: no shortcut
    } cases[] = {
        {kCtrl, Qt::Key_C, Ids::kCmdCopy},
        {kCtrl, Qt::Key_X, Ids::kCmdCut},
        {kCtrl, Qt::Key_V, Ids::kCmdPaste},
        {kCtrl, Qt::Key_Y, Ids::kCmdRedo},
        {kCtrl, Qt::Key_A, Ids::kCmdSelectAll},
        {kCtrl, Qt::Key_Z, Ids::kCmdUndo},
        {kCtrl, Qt::Key_O, Ids::kCmdOpen},
        {kCtrl, Qt::Key_N, Ids::kCmdNew},
        {kCtrl, Qt::Key_S, Ids::kCmdSave},
        {kCtrl, Qt::Key_P, Ids::kCmdPrint},
        {Qt::NoModifier, Qt::Key_F1, Ids::kCmdHelpContents},
        // Save As needs Control and Shift, so Shift+S stays a letter.
        {kCtrl | kShift, Qt::Key_S, Ids::kCmdSaveAs},
        {kShift, Qt::Key_S, 0},
        {Qt::NoModifier, Qt::Key_S, 0},
        // The keypad flag does not change the key; any other extra modifier does.
        {kCtrl | Qt::KeypadModifier, Qt::Key_V, Ids::kCmdPaste},
        {kCtrl | Qt::AltModifier, Qt::Key_C, 0},
        {kShift, Qt::Key_F1, 0},
        {kCtrl | kShift, Qt::Key_Z, 0},
        {Qt::NoModifier, Qt::Key_A, 0},
        {Qt::NoModifier, Qt::Key_Return, 0},
        {Qt::NoModifier, Qt::Key_Escape, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AcceleratorCommand(QKeyCombination(c.modifiers, c.key)), c.command)
            << "modifiers " << c.modifiers.toInt() << " key " << c.key;
    }
}
