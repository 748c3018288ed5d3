#include "ScanOutFrame.h"

#include "Surface.h"

void ScanOutFrame::CopyFrom(const Surface& surface)
{
    indices.resize(std::size_t{Surface::kWidth} * Surface::kHeight);
    surface.CopyRowsTo(indices.data());
    rowStamps.resize(Surface::kHeight);
    for (int y = 0; y < Surface::kHeight; ++y)
        rowStamps[static_cast<std::size_t>(y)] = surface.RowStamp(y);
}
