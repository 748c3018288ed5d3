#include "MySliderControl.h"

#include "BgDialog.h"
#include "ControlToolTip.h"
#include "XButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace
{

// The channel is this thick, and its sunken edge two pixels wide around it.
constexpr int kChannelThickness = 4;
constexpr int kTickLength = 4;
constexpr int kTickGap = 2;
// Without a tick interval of its own the slider marks every tenth of its range.
constexpr int kDefaultTickCount = 10;
// A page is a fifth of the range, as on the platform's trackbar.
constexpr int kPagesPerRange = 5;

} // namespace

CMySliderControl::CMySliderControl(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    // Qt hands a double click on as a press, so a fast second click moves the
    // thumb like a single click.
}

CMySliderControl::~CMySliderControl() = default;

void CMySliderControl::SetThumbColors(ColorRef normal, ColorRef selected)
{
    m_crThumb = normal;
    m_crThumbSelected = selected;
}

void CMySliderControl::SetTooltipText(const QString& text, bool activate)
{
    SetControlToolTip(*this, text, activate);
}

QRect CMySliderControl::ThumbRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

QRect CMySliderControl::ChannelRect() const
{
    // The channel runs where the thumb's centre can go, through the thumb's middle.
    const QRect thumb = ThumbRect();
    if (orientation() == Qt::Horizontal) {
        const int inset = thumb.width() / 2;
        return {inset, thumb.center().y() - kChannelThickness / 2, width() - 2 * inset,
                kChannelThickness};
    }
    const int inset = thumb.height() / 2;
    return {thumb.center().x() - kChannelThickness / 2, inset, kChannelThickness,
            height() - 2 * inset};
}

void CMySliderControl::paintEvent(QPaintEvent*)
{
    // The parent's picture is taken once, at the first paint, and kept for the
    // life of the slider.
    if (m_background.isNull())
        m_background = CBgDialog::BackgroundBehind(*this);
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    DrawTicks(painter);
    DrawChannel(painter);
    DrawThumb(painter);
}

void CMySliderControl::sliderChange(SliderChange change)
{
    if (change == SliderRangeChange)
        setPageStep(static_cast<int>((qint64(maximum()) - minimum()) / kPagesPerRange));
    QSlider::sliderChange(change);
}

int CMySliderControl::TickStep() const
{
    if (tickInterval() > 0)
        return tickInterval();
    return std::max(1, (maximum() - minimum()) / kDefaultTickCount);
}

void CMySliderControl::DrawTicks(QPainter& painter) const
{
    if (tickPosition() == QSlider::NoTicks)
        return;
    const QRect thumb = ThumbRect();
    const bool horizontal = orientation() == Qt::Horizontal;
    const int thumbLength = horizontal ? thumb.width() : thumb.height();
    const int span = (horizontal ? width() : height()) - thumbLength;
    const int from = (horizontal ? thumb.bottom() : thumb.right()) + kTickGap;
    painter.setPen(Qt::black);
    for (qint64 value = minimum(); value <= maximum(); value += TickStep()) {
        const int along =
            QStyle::sliderPositionFromValue(minimum(), maximum(), static_cast<int>(value), span,
                                            invertedAppearance()) +
            thumbLength / 2;
        if (horizontal)
            painter.drawLine(along, from, along, from + kTickLength - 1);
        else
            painter.drawLine(from, along, from + kTickLength - 1, along);
    }
}

void CMySliderControl::DrawChannel(QPainter& painter) const
{
    // The sunken edge lies two pixels outside the channel across it (one for a
    // vertical slider); inside, the parent's background shows through.
    const QRect channel = ChannelRect();
    const QRect edge = orientation() == Qt::Horizontal ? channel.adjusted(0, -2, 0, 2)
                                                       : channel.adjusted(-1, 0, 1, 0);
    const QPalette& colors = palette();
    CXButton::Draw3dRect(painter, edge, colors.color(QPalette::Dark),
                         colors.color(QPalette::Light));
    CXButton::Draw3dRect(painter, edge.adjusted(1, 1, -1, -1), colors.color(QPalette::Shadow),
                         colors.color(QPalette::Midlight));
}

void CMySliderControl::DrawThumb(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(isSliderDown() ? m_crThumbSelected : m_crThumb));
    painter.drawEllipse(QRectF(ThumbRect()).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}
