#include "RasterScanOut.h"

#include "FrameMailbox.h"
#include "ScanOutOverlay.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
// Pixels scaled in one loop pass: 24 rows of a 1440-pixel picture, some
// tens of microseconds, the most a step may be held up by scaling.
constexpr int kBandPixels = 24 * 1440;
} // namespace

RasterScanOut::RasterScanOut(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                             double refreshRate)
    : ScanOutView(window, mailbox, look), m_colours(ScanOutColoursOf(look.palette)),
      m_period(std::llround(1e9 / (refreshRate > 1 ? refreshRate : 60))),
      m_nextRefresh(Clock::now() + m_period)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.setInterval(std::chrono::round<std::chrono::milliseconds>(m_period));
    connect(&m_refresh, &QTimer::timeout, this, &RasterScanOut::OnRefresh);
    m_refresh.start();
    Mailbox().WantAfresh();
    show();
}

QSize RasterScanOut::DeviceSize() const
{
    return size() * devicePixelRatioF();
}

QImage::Format RasterScanOut::ScreenFormat() const
{
    // Drawn in the format of the window's own buffer, the repaint is a copy
    // of rows; otherwise every pixel is converted. The scaler's pixels are
    // opaque QRgb values, right as either of these two.
    // Qt's Wayland backing store has no buffer to hand out before its first
    // paint (asking dereferences a null one), so there it is not asked.
    QBackingStore* store =
        QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))
            ? nullptr
            : window()->backingStore();
    const auto* buffer = store ? dynamic_cast<const QImage*>(store->paintDevice()) : nullptr;
    return buffer && buffer->format() == QImage::Format_ARGB32_Premultiplied
               ? QImage::Format_ARGB32_Premultiplied
               : QImage::Format_RGB32;
}

QRect RasterScanOut::Picture() const
{
    return ScanOutRect(DeviceSize());
}

void RasterScanOut::OnRefresh()
{
    FollowOverlay();
    // Undriven, whatever is on its way (a new frame, or the last one at a
    // new size) is finished and shown at once.
    if (TakeFrame() || m_nextRow >= 0) {
        ScaleRows(m_scaler->Target().height());
        ShowScaledFrame();
    } else if (m_finished.isValid()) {
        ShowScaledFrame();
    }
    Mailbox().Want();
}

std::chrono::nanoseconds RasterScanOut::OnLoopPass(std::chrono::nanoseconds nextStepIn,
                                                   bool pictureWaits)
{
    // Driven, the loop's passes keep the beat.
    m_refresh.stop();
    FollowOverlay();
    const Clock::time_point now = Clock::now();
    if (now >= m_nextRefresh) {
        // An even beat, started afresh after falling behind. The loop posts
        // at its next pass, and that pass takes the frame.
        m_nextRefresh = std::max(m_nextRefresh + m_period, now);
        Mailbox().Want();
        m_wantOpen = true;
    } else if (m_wantOpen) {
        // Unanswered (the picture stood still), the want lapses: a picture
        // that changes later waits for the next beat, so that every frame
        // is a refresh apart from the one before.
        m_wantOpen = false;
        Mailbox().Withdraw();
    }
    if (m_nextRow >= 0 || (!m_finished.isValid() && TakeFrame())) {
        ScaleRows(m_bandRows);
        return std::chrono::nanoseconds::zero();
    }
    if (m_finished.isValid()) {
        // A finished frame waits until showing it ends before the next step
        // is due, but not past half a refresh: a run that steps at every pass
        // never leaves the time.
        const auto waited = std::chrono::nanoseconds(m_finished.nsecsElapsed());
        if (nextStepIn <= m_showTime * 5 / 4 && waited < m_period / 2)
            return m_period / 2 - waited;
        ShowScaledFrame();
    }
    if (!pictureWaits)
        return std::chrono::nanoseconds::max();
    return Mailbox().Wanted() ? std::chrono::nanoseconds::zero()
                              : std::chrono::nanoseconds(m_nextRefresh - now);
}

bool RasterScanOut::TakeFrame()
{
    const std::uint64_t number = m_scaler ? Mailbox().Take() : 0;
    if (number == 0)
        return false;
    m_frameNumber = number;
    m_scaler->Begin(Mailbox().Taken().indices, Mailbox().Taken().rowStamps);
    m_nextRow = 0;
    m_finished.invalidate();
    return true;
}

void RasterScanOut::ScaleRows(int count)
{
    const QRect target = ScanOutRect(m_next.size());
    if (!target.isEmpty())
        m_scaler->Scale(m_nextRow, count,
                        m_next.scanLine(target.top()) + std::size_t{4} * target.left(),
                        m_next.bytesPerLine());
    m_nextRow += count;
    if (m_nextRow >= target.height()) {
        m_nextRow = -1;
        m_finished.start();
    }
}

void RasterScanOut::ShowScaledFrame()
{
    std::swap(m_shown, m_next);
    m_finished.invalidate();
    // The margins never change; only the frame's own part is drawn anew.
    QElapsedTimer showing;
    showing.start();
    const QRectF picture = Picture().toRectF();
    const qreal ratio = devicePixelRatioF();
    repaint(QRectF(picture.topLeft() / ratio, picture.size() / ratio).toAlignedRect());
    CountFrameShown(m_frameNumber);
    // A running average, so that one slow showing (the core taken away for
    // a moment) does not keep the next frames waiting for a long gap.
    m_showTime += (std::chrono::nanoseconds(showing.nsecsElapsed()) - m_showTime) / 4;
}

void RasterScanOut::FollowOverlay()
{
    if (!Look().overlay || Look().overlay->Revision() == m_overlayRevision)
        return;
    m_overlayRevision = Look().overlay->Revision();
    update();
}

void RasterScanOut::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_shown.size() == DeviceSize())
        painter.drawImage(QPointF(0, 0), m_shown);
    else
        painter.fillRect(event->rect(), QColor::fromRgb(Look().Background()));
    if (Look().overlay) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.scale(1 / devicePixelRatioF(), 1 / devicePixelRatioF());
        Look().overlay->Draw(painter, Picture(), DeviceSize());
    }
}

void RasterScanOut::resizeEvent(QResizeEvent* event)
{
    ScanOutView::resizeEvent(event);
    for (QImage* image : {&m_shown, &m_next}) {
        *image = QImage(DeviceSize(), ScreenFormat());
        image->setDevicePixelRatio(devicePixelRatioF());
        image->fill(Look().Background());
    }
    const QRect target = Picture();
    m_scaler.emplace(target.size(), m_colours);
    m_bandRows = std::max(1, kBandPixels / std::max(target.width(), 1));
    // The frame on its way, or the one last shown, is drawn again at the new size.
    m_finished.invalidate();
    const ScanOutFrame& frame = Mailbox().Taken();
    m_scaler->Begin(frame.indices, frame.rowStamps);
    m_nextRow = frame.indices.empty() || target.isEmpty() ? -1 : 0;
}
