#pragma once

#include "VellorDlg.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

// The drop-down of the control window's menu bar that holds command `id`, or nullptr.
inline QMenu* DropDownOf(const CVellorDlg& window, int id)
{
    QAction* action = window.CommandAction(id);
    if (!action)
        return nullptr;
    for (QObject* owner : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner))
            return menu;
    }
    return nullptr;
}

// Opens and closes the drop-down holding command `id`, as the operator does,
// so that the update rules of its items run.
inline void OpenDropDownOf(CVellorDlg& window, int id)
{
    QMenu* menu = DropDownOf(window, id);
    if (!menu)
        return;
    menu->popup(window.mapToGlobal(QPoint(0, 0)));
    menu->hide();
}

// Whether the item of command `id` shows a check mark once its drop-down has opened.
inline bool MenuShowsCheck(CVellorDlg& window, int id)
{
    OpenDropDownOf(window, id);
    return window.CommandAction(id)->isChecked();
}

// Whether the item of command `id` is enabled once its drop-down has opened.
inline bool MenuShowsEnabled(CVellorDlg& window, int id)
{
    OpenDropDownOf(window, id);
    return window.CommandAction(id)->isEnabled();
}
