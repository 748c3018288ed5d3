#include "RasterScanOut.h"

#include "FrameMailbox.h"
#include "ScanOutOverlay.h"
#include "WindowBufferPaint.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWindow>

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
      m_beat(m_period, Clock::now())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.setInterval(std::chrono::round<std::chrono::milliseconds>(m_period));
    connect(&m_refresh, &QTimer::timeout, this, &RasterScanOut::OnRefresh);
    m_refresh.start();
    Mailbox().WantAfresh();
    show();
    WatchWindow();
}

QSize RasterScanOut::DeviceSize() const
{
    return size() * devicePixelRatioF();
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
    // A step was taken since the last pass: the most time is left now.
    const bool stepped = m_steps.Seen(now, nextStepIn);
    if (m_beat.Due(now, nextStepIn, stepped, m_steps.Gap())) {
        // The loop posts at its next pass, and that pass takes the frame.
        Mailbox().Want();
        m_wantOpen = true;
    } else if (m_wantOpen) {
        // Unanswered (the picture stood still), the want lapses: a picture
        // that changes later waits for the next beat, so that every frame
        // is a refresh apart from the one before.
        m_wantOpen = false;
        Mailbox().Withdraw();
    }
    // Copying a frame to the screen takes the window system longer than
    // the steps are apart, by more than an eighth: the loop keeps its core
    // busy rather than sleep, so that the copy is done on another core, not
    // in the way of a step. A copy only just longer makes a step late by
    // less than that, too little to be worth a busy core.
    m_keepingCore = nextStepIn != std::chrono::nanoseconds::max() && m_intoBuffer &&
                    m_copyTime.Typical() * 8 / 9 > m_steps.Gap();
    if (m_nextRow < 0 && !m_finished.isValid())
        TakeFrame();
    if (m_nextRow >= 0) {
        // A band that would still run when the next step is due waits for
        // the step, but not past half a refresh of the frame's scaling: a
        // run that steps at every pass (none left), or more often than a
        // band takes, never leaves the time. The first band waits for the
        // window system to have read the buffer for the last flush, so it
        // has a time of its own.
        std::chrono::nanoseconds& takes = m_nextRow == 0 ? m_beginTime : m_bandTime;
        if (nextStepIn > std::chrono::nanoseconds::zero() && nextStepIn <= takes * 5 / 4 &&
            std::chrono::nanoseconds(m_scaling.nsecsElapsed()) < m_period / 2)
            return MayWait(nextStepIn);
        QElapsedTimer scaled;
        scaled.start();
        ScaleRows(m_bandRows);
        takes += (std::chrono::nanoseconds(scaled.nsecsElapsed()) - takes) / 4;
        return std::chrono::nanoseconds::zero();
    }
    if (m_finished.isValid()) {
        // A finished frame waits for the first pass after a step, unless
        // showing it ends before the next step is due anyway, but not past
        // half a refresh: a run that steps at every pass never leaves the
        // time. Showing wakes the window system, which may take this core
        // for as long as it copies the picture.
        const auto waited = std::chrono::nanoseconds(m_finished.nsecsElapsed());
        if (!stepped && !m_showTime.FitsIn(nextStepIn) && waited < m_period / 2)
            return MayWait(m_period / 2 - waited);
        ShowScaledFrame();
    }
    if (!pictureWaits)
        return MayWait(std::chrono::nanoseconds::max());
    return Mailbox().Wanted() ? std::chrono::nanoseconds::zero()
                              : MayWait(std::max(std::chrono::nanoseconds(m_beat.Latest() - now),
                                                 std::chrono::nanoseconds::zero()));
}

std::chrono::nanoseconds RasterScanOut::MayWait(std::chrono::nanoseconds wait) const
{
    return m_keepingCore ? std::chrono::nanoseconds::zero() : wait;
}

bool RasterScanOut::TakeFrame()
{
    const std::uint64_t number = m_scaler ? Mailbox().Take() : 0;
    if (number == 0)
        return false;
    m_frameNumber = number;
    m_scaler->Begin(Mailbox().Taken().indices, Mailbox().Taken().rowStamps);
    m_nextRow = 0;
    m_scaling.start();
    m_stagingWhole = false;
    m_finished.invalidate();
    return true;
}

void RasterScanOut::ScaleRows(int count)
{
    const QRect picture = Picture();
    if (m_nextRow == 0) {
        m_intoBuffer = m_bufferReady;
        WatchWindow();
    }
    if (m_intoBuffer) {
        const QRect band(picture.left(), picture.top() + m_nextRow, picture.width(), count);
        WindowBufferPaint paint(*this, band.intersected(picture));
        if (paint.Pixels()) {
            ScaleInto(m_nextRow, count, *paint.Pixels(), paint.Origin());
        } else {
            // The buffer changed under the frame: it goes through the image,
            // from its top.
            m_bufferReady = m_intoBuffer = false;
            m_nextRow = 0;
        }
    }
    if (!m_intoBuffer)
        ScaleInto(m_nextRow, count, Staging(), QPoint());
    m_nextRow += count;
    if (m_nextRow >= picture.height()) {
        m_nextRow = -1;
        m_stagingWhole = !m_intoBuffer;
        m_finished.start();
    }
}

void RasterScanOut::ScaleInto(int first, int count, QImage& image, QPoint origin)
{
    const QRect picture = Picture().translated(origin);
    if (!picture.isEmpty())
        m_scaler->Scale(first, count,
                        image.bits() + image.bytesPerLine() * picture.top() +
                            std::size_t{4} * picture.left(),
                        image.bytesPerLine());
}

QImage& RasterScanOut::Staging()
{
    if (m_staging.size() != DeviceSize())
        m_staging = QImage(DeviceSize(), QImage::Format_RGB32);
    return m_staging;
}

void RasterScanOut::ShowScaledFrame()
{
    m_finished.invalidate();
    QElapsedTimer showing;
    showing.start();
    const QRect picture = Picture();
    if (!m_intoBuffer) {
        // The margins never change; only the frame's own part is drawn anew.
        const qreal ratio = devicePixelRatioF();
        repaint(QRectF(QPointF(picture.topLeft()) / ratio, QSizeF(picture.size()) / ratio)
                    .toAlignedRect());
    } else {
        if (Look().overlay && !Look().overlay->Blank())
            DrawOverlayOverPicture();
        WindowBufferPaint::Flush(*this, picture);
    }
    CountFrameShown(m_frameNumber);
    const auto took = std::chrono::nanoseconds(showing.nsecsElapsed());
    m_showTime.Note(took);
    // Only a copy the window system makes on this core holds the loop up;
    // one made on another returns at once, and says nothing of how long
    // the copy would hold it. The typical copy, not the average: one the
    // machine held up for a whole refresh would keep the core for the rest
    // of the run, since kept busy the loop sees no copy on its core again.
    if (took > m_steps.Gap() / 4)
        m_copyTime.Note(took);
}

void RasterScanOut::DrawOverlayOverPicture()
{
    const QRect picture = Picture();
    const WindowBufferPaint paint(*this, picture);
    if (!paint.Device())
        return;
    QPainter painter(paint.Device());
    const qreal ratio = paint.Device()->devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate(paint.Origin());
    // Outside the picture the buffer keeps what was drawn before, so the
    // overlay is not drawn over itself there.
    painter.setClipRect(picture);
    Look().overlay->Draw(painter, picture, DeviceSize());
}

void RasterScanOut::FollowOverlay()
{
    if (!Look().overlay || Look().overlay->Revision() == m_overlayRevision)
        return;
    m_overlayRevision = Look().overlay->Revision();
    update();
}

void RasterScanOut::WatchWindow()
{
    QWindow* handle = window()->windowHandle();
    if (handle == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = handle;
    if (handle)
        handle->installEventFilter(this);
}

bool RasterScanOut::eventFilter(QObject* watched, QEvent* event)
{
    // Shown as it is, a buffer holding part of the next frame over the rest
    // of the last would tear the picture.
    if (watched == m_watched && event->type() == QEvent::Expose && m_intoBuffer &&
        (m_nextRow > 0 || m_finished.isValid())) {
        if (m_nextRow > 0)
            ScaleRows(m_scaler->Target().height());
        ShowScaledFrame();
    }
    return ScanOutView::eventFilter(watched, event);
}

void RasterScanOut::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect picture = Picture();
    const QColor background = QColor::fromRgb(Look().Background());
    const bool framed = m_scaler && !Mailbox().Taken().indices.empty() && !picture.isEmpty();
    for (const QRect& part : QRegion(QRect(QPoint(), DeviceSize())) - (framed ? picture : QRect()))
        painter.fillRect(part, background);
    // Painted by Qt, the window's buffer has followed the view's size.
    const std::optional<QImage*> painted = WindowBufferPaint::PaintedBuffer(painter, *this);
    QImage* buffer = painted.value_or(nullptr);
    if (painted)
        m_bufferReady = buffer != nullptr;
    // The whole picture of the frame at hand; a frame on its way the same
    // way is thereby finished.
    if (framed && buffer) {
        ScaleInto(0, picture.height(), *buffer, WindowBufferPaint::OriginOf(*this));
    } else if (framed) {
        if (!m_stagingWhole)
            ScaleInto(0, picture.height(), Staging(), QPoint());
        m_stagingWhole = true;
        painter.drawImage(picture.topLeft(), m_staging, picture);
    }
    if (framed && m_nextRow >= 0 && (buffer != nullptr) == m_intoBuffer) {
        m_nextRow = -1;
        m_finished.start();
    }
    if (Look().overlay && !Look().overlay->Blank()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        Look().overlay->Draw(painter, picture, DeviceSize());
    }
}

void RasterScanOut::resizeEvent(QResizeEvent* event)
{
    ScanOutView::resizeEvent(event);
    const QRect target = Picture();
    m_scaler.emplace(target.size(), m_colours);
    m_bandRows = std::max(1, kBandPixels / std::max(target.width(), 1));
    // The frame on its way, or the one last shown, is drawn again at the new size.
    m_finished.invalidate();
    m_stagingWhole = false;
    // Qt paints the buffer at the new size before the view writes into it.
    m_bufferReady = false;
    const ScanOutFrame& frame = Mailbox().Taken();
    m_scaler->Begin(frame.indices, frame.rowStamps);
    m_nextRow = frame.indices.empty() || target.isEmpty() ? -1 : 0;
    m_scaling.start();
}
