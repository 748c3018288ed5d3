#include "SurfacePalette.h"

namespace
{
int Blend(int from, int to, int index)
{
    return from + ((to - from) * index + (to > from ? 127 : -127)) / 255;
}
} // namespace

QRgb SurfacePaletteColor(ColorRef background, ColorRef text, int index)
{
    const int i = index < 0 ? 0 : (index > 255 ? 255 : index);
    return qRgb(Blend(RedOf(background), RedOf(text), i),
                Blend(GreenOf(background), GreenOf(text), i),
                Blend(BlueOf(background), BlueOf(text), i));
}

QList<QRgb> SurfacePalette(ColorRef background, ColorRef text)
{
    QList<QRgb> table;
    table.reserve(256);
    for (int i = 0; i < 256; ++i)
        table.append(SurfacePaletteColor(background, text, i));
    return table;
}
