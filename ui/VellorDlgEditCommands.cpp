#include "VellorDlg.h"

#include "ScriptEditor.h"

#include <QAction>

// Editing commands and their enabling rules. The commands act on the script
// editor wherever the focus is, since the shortcuts belong to the whole
// window. A shortcut refreshes its command's rule first, so Ctrl+Z with
// nothing to undo or Ctrl+X without a selection does nothing.

namespace
{

bool HasSelection(const ScriptEditor& editor)
{
    const CharRange selection = editor.Selection();
    return selection.cpMin != selection.cpMax;
}

} // namespace

void CVellorDlg::OnEditUndo()
{
    Editor().undo();
}

void CVellorDlg::OnEditRedo()
{
    Editor().redo();
}

void CVellorDlg::OnEditCut()
{
    Editor().cut();
}

void CVellorDlg::OnEditCopy()
{
    Editor().copy();
}

void CVellorDlg::OnEditPaste()
{
    Editor().paste();
}

void CVellorDlg::OnEditSelectAll()
{
    Editor().SetSelection(0, -1);
}

void CVellorDlg::OnUpdateEditUndo(QAction& item)
{
    item.setEnabled(Editor().CanUndo());
}

void CVellorDlg::OnUpdateEditRedo(QAction& item)
{
    item.setEnabled(Editor().CanRedo());
}

void CVellorDlg::OnUpdateEditCut(QAction& item)
{
    item.setEnabled(HasSelection(Editor()));
}

void CVellorDlg::OnUpdateEditCopy(QAction& item)
{
    item.setEnabled(HasSelection(Editor()));
}

void CVellorDlg::OnUpdateEditPaste(QAction& item)
{
    item.setEnabled(Editor().CanPaste());
}

void CVellorDlg::OnUpdateEditSelectAll(QAction& item)
{
    item.setEnabled(Editor().TextLength() > 0);
}
