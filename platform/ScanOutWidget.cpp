#include "ScanOutWidget.h"

#include "RasterScanOut.h"

QWidget* CreateScanOutWidget(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                             double refreshRate)
{
    return new RasterScanOut(window, mailbox, palette, refreshRate);
}
