#include "AcceleratorTable.h"

#include "ResourceIds.h"

#include <array>
#include <utility>

namespace {

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;

const std::array<std::pair<QKeyCombination, int>, 12> kTable{{
    {QKeyCombination(kCtrl, Qt::Key_C), Ids::kCmdCopy},
    {QKeyCombination(kCtrl, Qt::Key_X), Ids::kCmdCut},
    {QKeyCombination(kCtrl, Qt::Key_V), Ids::kCmdPaste},
    {QKeyCombination(kCtrl, Qt::Key_Y), Ids::kCmdRedo},
    {QKeyCombination(kCtrl, Qt::Key_A), Ids::kCmdSelectAll},
    {QKeyCombination(kCtrl, Qt::Key_Z), Ids::kCmdUndo},
    {QKeyCombination(kCtrl, Qt::Key_O), Ids::kCmdOpen},
    {QKeyCombination(kCtrl, Qt::Key_N), Ids::kCmdNew},
    {QKeyCombination(kCtrl, Qt::Key_S), Ids::kCmdSave},
    {QKeyCombination(kCtrl | Qt::ShiftModifier, Qt::Key_S), Ids::kCmdSaveAs},
    {QKeyCombination(kCtrl, Qt::Key_P), Ids::kCmdPrint},
    {QKeyCombination(Qt::NoModifier, Qt::Key_F1), Ids::kCmdHelpContents},
}};

} // namespace

int AcceleratorCommand(QKeyCombination key)
{
    // The keypad flag says where a key sits, not which key it is.
    const QKeyCombination plain(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
    for (const auto& [combination, command] : kTable) {
        if (combination == plain)
            return command;
    }
    return 0;
}
