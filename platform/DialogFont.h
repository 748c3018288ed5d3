#pragma once

#include <QFont>

// The nearest we have to the 8-point dialog font the dialog layouts were
// measured with. Its characters are narrower than Liberation Sans at 8
// points, so the size is the one at which every text fits the width its
// control is given; pixels rather than points keep it in step with the
// pixel layout that DialogUnits.h converts to.
inline QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}
