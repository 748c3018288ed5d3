#include "BgDialog.h"

#include "ResourceIds.h"

#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

// The client area: paints the owner's skin and reports presses on the bare
// background. Presses on controls stay with the controls; labels ignore theirs,
// so a press on a label reaches the background as on the platform's statics.
class CBgDialog::SkinArea final : public QWidget
{
  public:
    explicit SkinArea(CBgDialog& owner) : QWidget(&owner), m_owner(owner) {}

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_owner.PaintBackground(painter, size());
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        m_owner.OnBackgroundPress(event->button());
        QWidget::mousePressEvent(event);
    }

  private:
    CBgDialog& m_owner;
};

CBgDialog::CBgDialog(QWidget* parent) : QDialog(parent), m_client(new SkinArea(*this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_client, 1);
}

CBgDialog::~CBgDialog() = default;

QWidget* CBgDialog::ClientArea() const
{
    return m_client;
}

void CBgDialog::SetMenuBar(QMenuBar* bar)
{
    bar->setParent(this);
    layout()->setMenuBar(bar);
}

CBgDialog::BgStatus CBgDialog::SetBackgroundBitmap(const QPixmap& bitmap)
{
    ReleaseBitmap();
    if (!bitmap.isNull()) {
        m_backgroundBitmap = bitmap;
        m_bitmapWidth = bitmap.width();
        m_bitmapHeight = bitmap.height();
    }
    // The layout mode is kept: only FitClientToBitmap changes it.
    m_client->update();
    return BgOk;
}

CBgDialog::BgStatus CBgDialog::SetBackgroundBitmap(int resourceId)
{
    return SetBackgroundBitmap(QPixmap(ImageResourcePath(resourceId)));
}

int CBgDialog::EnableDragByBackground(int value)
{
    m_dragByBackground = value;
    return 0;
}

int CBgDialog::FitClientToBitmap(bool repaint)
{
    // Before the first show the layout has not placed the client yet; placing
    // it now makes the frame (menu bar) measurable.
    layout()->activate();
    const QSize frame = size() - m_client->size();
    m_backgroundMode = Center;
    // resize() keeps the window's top-left corner where it is.
    resize(QSize(m_bitmapWidth, m_bitmapHeight) + frame);
    layout()->invalidate();
    layout()->activate();
    if (repaint)
        m_client->update();
    return 0;
}

QPixmap CBgDialog::BackgroundBehind(const QWidget& child)
{
    const qreal ratio = child.devicePixelRatioF();
    QPixmap snapshot(child.size() * ratio);
    snapshot.setDevicePixelRatio(ratio);
    QWidget* parent = child.parentWidget();
    // Where the parent paints nothing, its background colour would show.
    snapshot.fill(parent ? parent->palette().color(parent->backgroundRole())
                         : child.palette().color(QPalette::Window));
    // Only the parent's own paint: drawing its children would draw `child`
    // itself again from within its own paint.
    if (parent)
        parent->render(&snapshot, QPoint(), QRegion(child.geometry()),
                       QWidget::DrawWindowBackground);
    return snapshot;
}

void CBgDialog::OnAfterBackgroundPaint(QPainter&) {}

void CBgDialog::BeginWindowDrag()
{
    if (QWindow* handle = window()->windowHandle())
        handle->startSystemMove();
}

void CBgDialog::PaintBackground(QPainter& screen, const QSize& clientSize)
{
    // Without a skin the plain dialog background shows. A resize repaints the
    // whole client, so the tiles or the centred copy follow the new size.
    if (m_backgroundBitmap.isNull() || clientSize.isEmpty())
        return;
    const qreal ratio = m_client->devicePixelRatioF();
    QPixmap composed(clientSize * ratio);
    composed.setDevicePixelRatio(ratio);
    composed.fill(m_client->palette().color(QPalette::Window));
    {
        QPainter layout(&composed);
        if (m_backgroundMode == Tile) {
            for (int y = 0; y < clientSize.height(); y += m_bitmapHeight)
                for (int x = 0; x < clientSize.width(); x += m_bitmapWidth)
                    layout.drawPixmap(x, y, m_backgroundBitmap);
        } else {
            // Integer halving truncates toward zero, so a larger skin is cut
            // equally on both sides.
            layout.drawPixmap((clientSize.width() - m_bitmapWidth) / 2,
                              (clientSize.height() - m_bitmapHeight) / 2, m_backgroundBitmap);
        }
    }
    screen.drawPixmap(0, 0, composed);
    QPainter hook(&composed);
    OnAfterBackgroundPaint(hook);
}

void CBgDialog::OnBackgroundPress(Qt::MouseButton button)
{
    if (button == Qt::LeftButton && m_dragByBackground == 1)
        BeginWindowDrag();
}

void CBgDialog::ReleaseBitmap()
{
    m_backgroundBitmap = QPixmap();
    m_bitmapWidth = 0;
    m_bitmapHeight = 0;
}
