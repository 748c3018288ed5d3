#include "AcceleratorTable.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

namespace {

int CommandOf(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    return AcceleratorCommand(QKeyCombination(modifiers, key));
}

} // namespace

TEST(AcceleratorTable, MapsEveryControlKeyToItsCommand)
{
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_C), Ids::kCmdCopy);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_X), Ids::kCmdCut);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_V), Ids::kCmdPaste);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_Y), Ids::kCmdRedo);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_A), Ids::kCmdSelectAll);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_Z), Ids::kCmdUndo);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_O), Ids::kCmdOpen);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_N), Ids::kCmdNew);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_S), Ids::kCmdSave);
    EXPECT_EQ(CommandOf(Qt::ControlModifier, Qt::Key_P), Ids::kCmdPrint);
    EXPECT_EQ(CommandOf(Qt::NoModifier, Qt::Key_F1), Ids::kCmdHelpContents);
}

TEST(AcceleratorTable, SaveAsNeedsControlAndShiftSoShiftSStaysALetter)
{
    EXPECT_EQ(CommandOf(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S), Ids::kCmdSaveAs);
    EXPECT_EQ(CommandOf(Qt::ShiftModifier, Qt::Key_S), 0);
    EXPECT_EQ(CommandOf(Qt::NoModifier, Qt::Key_S), 0);
}

TEST(AcceleratorTable, ModifiersMustMatchExactly)
{
    EXPECT_EQ(CommandOf(Qt::ControlModifier | Qt::AltModifier, Qt::Key_C), 0);
    EXPECT_EQ(CommandOf(Qt::ShiftModifier, Qt::Key_F1), 0);
    EXPECT_EQ(CommandOf(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z), 0);
}

TEST(AcceleratorTable, KeypadFlagDoesNotChangeTheKey)
{
    EXPECT_EQ(CommandOf(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_V), Ids::kCmdPaste);
}

TEST(AcceleratorTable, PlainTypingIsNoShortcut)
{
    EXPECT_EQ(CommandOf(Qt::NoModifier, Qt::Key_A), 0);
    EXPECT_EQ(CommandOf(Qt::NoModifier, Qt::Key_Return), 0);
    EXPECT_EQ(CommandOf(Qt::NoModifier, Qt::Key_Escape), 0);
}
