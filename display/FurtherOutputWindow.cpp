#include "FurtherOutputWindow.h"

#include "ScanOut.h"
#include "ScanOutOverlay.h"
#include "WindowBufferPaint.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QWindow>

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
    // Not showFullScreen(), which would ask to activate the window as well.
    setWindowState(Qt::WindowFullScreen);
    show();
}

void FurtherOutputWindow::Use(ScanOutScaler* scaler)
{
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

bool FurtherOutputWindow::ScaleBand(int first, int count)
{
    const QRect picture = Picture();
    if (m_bufferReady && m_scaler && !picture.isEmpty()) {
        const WindowBufferPaint paint(
            *this, QRect(picture.left(), picture.top() + first, picture.width(), count)
                       .intersected(picture));
        if (QImage* pixels = paint.Pixels()) {
            const QPoint at = picture.topLeft() + paint.Origin();
            m_scaler->Scale(first, count,
                            pixels->bits() + pixels->bytesPerLine() * at.y() + 4 * at.x(),
                            pixels->bytesPerLine());
            return true;
        }
    }
    m_bufferReady = false;
    update();
    return false;
}

void FurtherOutputWindow::ShowPicture()
{
    const QRect picture = Picture();
    if (m_look.overlay && !m_look.overlay->Blank()) {
        const WindowBufferPaint paint(*this, picture);
        if (paint.Device()) {
            QPainter painter(paint.Device());
            const qreal ratio = paint.Device()->devicePixelRatioF();
            painter.scale(1 / ratio, 1 / ratio);
            painter.translate(paint.Origin());
            painter.setClipRect(picture);
            DrawOverlay(painter);
        }
    }
    WindowBufferPaint::Flush(*this, picture);
}

void FurtherOutputWindow::DrawOverlay(QPainter& painter) const
{
    const QRect picture = Picture();
    // Mirrored with the picture: device column c shows column left + right - c.
    if (m_scaler && m_scaler->Flipped()) {
        painter.translate(picture.left() + picture.right() + 1, 0);
        painter.scale(-1, 1);
    }
    m_look.overlay->Draw(painter, picture, DeviceSize());
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
    const bool framed = m_scaler && m_scaler->Target() == picture.size() && !picture.isEmpty();
    QPaintDevice* device = painter.paintEngine()->paintDevice();
    QBackingStore* store = backingStore();
    QImage* buffer = store && device == store->paintDevice()
                         ? WindowBufferPaint::PixelsOf(device, *this)
                         : nullptr;
    if (store && device == store->paintDevice())
        m_bufferReady = buffer != nullptr;
    if (framed && buffer) {
        const QPoint at = picture.topLeft() + WindowBufferPaint::OriginOf(*this);
        m_scaler->Scale(0, picture.height(),
                        buffer->bits() + buffer->bytesPerLine() * at.y() + 4 * at.x(),
                        buffer->bytesPerLine());
    } else if (framed) {
        if (m_staging.size() != picture.size())
            m_staging = QImage(picture.size(), QImage::Format_RGB32);
        m_scaler->Scale(0, picture.height(), m_staging.bits(), m_staging.bytesPerLine());
        painter.drawImage(picture.topLeft(), m_staging);
    }
    if (m_look.overlay && !m_look.overlay->Blank()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        DrawOverlay(painter);
    }
}

void FurtherOutputWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_bufferReady = false;
}
