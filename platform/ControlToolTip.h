#pragma once

#include <QString>
#include <QWidget>

// Sets a control's tool tip as the skinned controls take it: a null text
// changes nothing, and an inactive tool tip shows nothing.
inline void SetControlToolTip(QWidget& control, const QString& text, bool activate)
{
    if (text.isNull())
        return;
    control.setToolTip(activate ? text : QString());
}
