#include "RasterScanOut.h"

#include "FrameMailbox.h"
#include "ScanOut.h"

#include <QPainter>

#include <cmath>

RasterScanOut::RasterScanOut(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                             double refreshRate)
    : ScanOutView(window), m_mailbox(mailbox), m_palette(palette)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.setInterval(
        static_cast<int>(std::lround(1000.0 / (refreshRate > 1 ? refreshRate : 60))));
    connect(&m_refresh, &QTimer::timeout, this, &RasterScanOut::ShowNewestFrame);
    m_refresh.start();
    m_mailbox.Want();
    show();
}

void RasterScanOut::ShowNewestFrame()
{
    if (!m_mailbox.Take(m_frame) && m_image.size() == size())
        return;
    m_image = ScanOutImage(m_frame, m_palette, size());
    update();
}

void RasterScanOut::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_image.size() == size()) {
        painter.drawImage(0, 0, m_image);
        CountFrameShown();
    } else {
        painter.fillRect(rect(), QColor::fromRgb(m_palette.value(0)));
    }
}
