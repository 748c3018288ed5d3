#pragma once

#include "ColorRef.h"

#include <QList>
#include <QRgb>

// The palette of a scroll run: a straight ramp from the background colour
// (index 0) to the text colour (index 255). Text is rasterised as coverage,
// so an edge pixel half covered shows the colour half way between the two.
QRgb SurfacePaletteColor(ColorRef background, ColorRef text, int index);

// All 256 entries of the run's palette, ready to serve as a colour table.
QList<QRgb> SurfacePalette(ColorRef background, ColorRef text);
