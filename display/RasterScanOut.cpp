#include "RasterScanOut.h"

#include "FrameMailbox.h"
#include "Surface.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
// Rows scaled in one loop pass: at 1080 screen lines a band takes some tens
// of microseconds, the most a step may be held up by scaling.
constexpr int kBandRows = 24;
} // namespace

RasterScanOut::RasterScanOut(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                             double refreshRate)
    : ScanOutView(window, mailbox),
      m_background(palette.isEmpty() ? qRgb(0, 0, 0) : palette.first()),
      m_period(std::llround(1e9 / (refreshRate > 1 ? refreshRate : 60))),
      m_nextRefresh(Clock::now() + m_period)
{
    // Without a whole palette the frame shows as background only.
    m_colours.fill(m_background);
    if (palette.size() >= static_cast<qsizetype>(m_colours.size()))
        std::copy_n(palette.begin(), m_colours.size(), m_colours.begin());
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.setInterval(std::chrono::round<std::chrono::milliseconds>(m_period));
    connect(&m_refresh, &QTimer::timeout, this, &RasterScanOut::OnRefresh);
    m_refresh.start();
    Mailbox().Want();
    show();
}

void RasterScanOut::OnRefresh()
{
    // While a run drives the view, its passes keep the beat instead.
    if (m_driven) {
        m_driven = false;
        return;
    }
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

std::chrono::nanoseconds RasterScanOut::OnLoopPass(std::chrono::nanoseconds nextStepIn)
{
    m_driven = true;
    const Clock::time_point now = Clock::now();
    if (now >= m_nextRefresh) {
        // An even beat, started afresh after falling behind. The loop posts
        // at its next pass, and that pass takes the frame.
        m_nextRefresh = std::max(m_nextRefresh + m_period, now);
        Mailbox().Want();
    }
    if (m_nextRow < 0 && !m_finished.isValid() && !TakeFrame())
        return std::chrono::nanoseconds::zero();
    if (m_nextRow >= 0) {
        ScaleRows(kBandRows);
        return std::chrono::nanoseconds::zero();
    }
    // A finished frame waits until showing it ends before the next step is
    // due, but not past half a refresh: a run that steps at every pass never
    // leaves the time.
    if (nextStepIn > m_showTime * 5 / 4 ||
        std::chrono::nanoseconds(m_finished.nsecsElapsed()) > m_period / 2)
        ShowScaledFrame();
    return std::chrono::nanoseconds::zero();
}

bool RasterScanOut::TakeFrame()
{
    const std::uint64_t number = m_scaler ? Mailbox().Take(m_incoming) : 0;
    // A paused run offers the same picture at every refresh; it is scaled
    // and shown once.
    if (number == 0 || m_incoming == m_frame)
        return false;
    std::swap(m_incoming, m_frame);
    m_frameNumber = number;
    m_nextRow = 0;
    m_finished.invalidate();
    return true;
}

void RasterScanOut::ScaleRows(int count)
{
    const QRect target = ScanOutRect(m_next.size());
    if (!target.isEmpty() && m_frame.size() >= std::size_t{Surface::kWidth} * Surface::kHeight)
        m_scaler->Scale(m_frame, m_colours, m_nextRow, count,
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
    m_shownNumber = m_frameNumber;
    // The margins never change; only the frame's own part is drawn anew.
    QElapsedTimer showing;
    showing.start();
    repaint(ScanOutRect(size()));
    CountFrameShown(m_shownNumber);
    // A running average, so that one slow showing (the core taken away for
    // a moment) does not keep the next frames waiting for a long gap.
    m_showTime += (std::chrono::nanoseconds(showing.nsecsElapsed()) - m_showTime) / 4;
}

void RasterScanOut::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_shown.size() == size())
        painter.drawImage(event->rect(), m_shown, event->rect());
    else
        painter.fillRect(event->rect(), QColor::fromRgb(m_background));
}

void RasterScanOut::resizeEvent(QResizeEvent* event)
{
    ScanOutView::resizeEvent(event);
    for (QImage* image : {&m_shown, &m_next}) {
        *image = QImage(size(), QImage::Format_RGB32);
        image->fill(m_background);
    }
    const QRect target = ScanOutRect(size());
    m_scaler.emplace(target.size());
    // The frame on its way, or the one last shown, is drawn again at the new size.
    m_finished.invalidate();
    m_nextRow = m_frame.empty() || target.isEmpty() ? -1 : 0;
}
