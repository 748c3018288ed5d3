#include "FurtherOutputWindow.h"

#include "PictureReuse.h"
#include "ScanOut.h"
#include "ScanOutOverlay.h"
#include "WindowBufferPaint.h"

#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

FurtherOutputWindow::FurtherOutputWindow(QScreen* screen, const ScanOutLook& look) : m_look(look)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::BlankCursor);
    setWindowTitle(QStringLiteral("Vellor Output"));
    setGeometry(screen->geometry());
    winId();
    windowHandle()->setScreen(screen);
    windowHandle()->installEventFilter(this);
    // Not showFullScreen(), which would ask to activate the window as well.
    setWindowState(Qt::WindowFullScreen);
    show();
}

void FurtherOutputWindow::Use(ScanOutScaler* scaler)
{
    // What the rows hold was made by the scaler before.
    if (scaler != m_scaler)
        ForgetHeld();
    m_scaler = scaler;
    update();
}

QSize FurtherOutputWindow::DeviceSize() const
{
    return size() * devicePixelRatioF();
}

QRect FurtherOutputWindow::Picture() const
{
    return ScanOutRect(DeviceSize());
}

bool FurtherOutputWindow::BeginPicture()
{
    m_paint.reset();
    m_target.reset();
    const QRect picture = Picture();
    if (m_scaler && !picture.isEmpty()) {
        if (BeginShared(picture))
            return true;
        if (m_bufferReady) {
            m_paint.emplace(*this, picture);
            if (QImage* pixels = m_paint->Pixels()) {
                if (m_held.size() != static_cast<std::size_t>(picture.height()))
                    ForgetHeld();
                const QPoint at = picture.topLeft() + m_paint->Origin();
                m_target = Target{pixels->bits() + pixels->bytesPerLine() * at.y() + 4 * at.x(),
                                  pixels->bytesPerLine(), &m_held};
                return true;
            }
            m_paint.reset();
        }
    }
    m_bufferReady = false;
    update();
    return false;
}

bool FurtherOutputWindow::BeginShared(const QRect& picture)
{
    if (m_shared && m_shared->Part() != picture)
        m_shared.reset();
    if (!m_shared && !m_sharingRefused) {
        m_shared = XShmPicture::Make(*this, picture, ImagesToKeep(picture.height()));
        m_sharingRefused = !m_shared;
        ForgetHeld();
    }
    if (!m_shared)
        return false;
    m_wanted.resize(static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y)
        m_wanted[static_cast<std::size_t>(y)] = m_scaler->Key(y);
    const PictureReuse reuse = BestReuse(m_sharedHeld, m_wanted, m_shared->LeastRecentlyPut());
    m_sharedImage = reuse.image;
    QImage& image = m_shared->Paint(reuse.image);
    m_target = Target{image.bits(), image.bytesPerLine(), &m_sharedHeld.at(reuse.image), reuse.top};
    return true;
}

FurtherOutputWindow::Band FurtherOutputWindow::PlanBand(int first, int paint) const
{
    const int height = m_scaler ? m_scaler->Target().height() : 0;
    Band band{first, 0};
    for (; band.end < height && band.painted < paint; ++band.end) {
        const ScanOutRowKey key = m_scaler->Key(band.end);
        const auto at = static_cast<std::size_t>((m_target ? m_target->top : 0) + band.end) %
                        static_cast<std::size_t>(height);
        band.painted += !(m_target && m_target->held && (*m_target->held)[at].Shows(key));
    }
    return band;
}

bool FurtherOutputWindow::ScaleBand(int first, int count)
{
    if (!m_target)
        return false;
    m_scaler->Scale(first, count, m_target->pixels, m_target->bytesPerLine, m_target->held,
                    m_target->top);
    return true;
}

void FurtherOutputWindow::ShowPicture()
{
    if (!m_target)
        return;
    const int top = m_target->top;
    m_target.reset();
    const QRect picture = Picture();
    const bool overlaid = m_look.overlay && !m_look.overlay->Blank();
    if (m_shared) {
        if (overlaid)
            DrawOverlayShared(top);
        m_shared->Put(m_sharedImage, top);
        return;
    }
    if (overlaid) {
        QPainter painter(m_paint->Device());
        const qreal ratio = m_paint->Device()->devicePixelRatioF();
        painter.scale(1 / ratio, 1 / ratio);
        painter.translate(m_paint->Origin());
        painter.setClipRect(picture);
        DrawOverlay(painter);
        ForgetHeld();
    }
    m_paint.reset();
    WindowBufferPaint::Flush(*this, picture);
}

void FurtherOutputWindow::DrawOverlayShared(int top)
{
    const QRect picture = Picture();
    const int height = picture.height();
    QImage& image = m_shared->Paint(m_sharedImage);
    QPainter painter(&image);
    QRegion drawn;
    // The picture's rows from top on, then those that wrapped to the image's top.
    for (const int shift : {top, top - height}) {
        painter.save();
        painter.setClipRect(QRect(0, shift, picture.width(), height).intersected(image.rect()));
        painter.translate(-picture.left(), shift - picture.top());
        drawn += DrawOverlay(painter);
        painter.restore();
    }
    // The rows it drew on no longer hold what the scaler made.
    std::vector<ScanOutHeldRow>& held = m_sharedHeld.at(m_sharedImage);
    for (const QRect& part : drawn) {
        const int first = std::max(part.top() - picture.top(), 0);
        const int last = std::min(part.bottom() - picture.top(), height - 1);
        for (int y = first; y <= last; ++y)
            held[static_cast<std::size_t>((top + y) % height)] = {};
    }
}

void FurtherOutputWindow::ForgetHeld()
{
    const auto rows = static_cast<std::size_t>(std::max(Picture().height(), 0));
    m_held.assign(rows, {});
    m_sharedHeld.resize(m_shared ? m_shared->Images() : 0);
    for (std::vector<ScanOutHeldRow>& held : m_sharedHeld)
        held.assign(rows, {});
}

void FurtherOutputWindow::PutSharedAgainSoon()
{
    // Once the event at hand is handled: Qt shows its buffer before that.
    if (m_shared)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_shared)
                    m_shared->PutAgain();
            },
            Qt::QueuedConnection);
}

bool FurtherOutputWindow::eventFilter(QObject* watched, QEvent* event)
{
    // An expose may show the buffer as it is, without a paint.
    if (watched == windowHandle() && event->type() == QEvent::Expose)
        PutSharedAgainSoon();
    return QWidget::eventFilter(watched, event);
}

QRegion FurtherOutputWindow::DrawOverlay(QPainter& painter) const
{
    const QRect picture = Picture();
    // Mirrored with the picture: device column c shows column left + right - c.
    if (m_scaler && m_scaler->Flipped()) {
        painter.translate(picture.left() + picture.right() + 1, 0);
        painter.scale(-1, 1);
    }
    return m_look.overlay->DrawTellingWhere(painter, picture, DeviceSize());
}

void FurtherOutputWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect picture = Picture();
    // Before its first frame a scaler draws nothing, so the picture's part
    // is filled too; paints are rare (a new size, an expose).
    painter.fillRect(QRect(QPoint(), DeviceSize()), QColor::fromRgb(m_look.Background()));
    ForgetHeld();
    const bool framed = m_scaler && m_scaler->Target() == picture.size() && !picture.isEmpty();
    const std::optional<QImage*> painted = WindowBufferPaint::PaintedBuffer(painter, *this);
    QImage* buffer = painted.value_or(nullptr);
    if (painted)
        m_bufferReady = buffer != nullptr;
    if (m_shared) {
        PutSharedAgainSoon();
    } else if (framed && buffer) {
        const QPoint at = picture.topLeft() + WindowBufferPaint::OriginOf(*this);
        m_scaler->Scale(0, picture.height(),
                        buffer->bits() + buffer->bytesPerLine() * at.y() + 4 * at.x(),
                        buffer->bytesPerLine(), &m_held);
    } else if (framed) {
        if (m_staging.size() != picture.size())
            m_staging = QImage(picture.size(), QImage::Format_RGB32);
        m_scaler->Scale(0, picture.height(), m_staging.bits(), m_staging.bytesPerLine());
        painter.drawImage(picture.topLeft(), m_staging);
    }
    if (m_look.overlay && !m_look.overlay->Blank()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        DrawOverlay(painter);
        ForgetHeld();
    }
}

void FurtherOutputWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Qt makes the buffer anew at the new size.
    m_paint.reset();
    m_target.reset();
    m_shared.reset();
    m_bufferReady = false;
    ForgetHeld();
}
