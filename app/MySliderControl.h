#pragma once

#include "ColorRef.h"

#include <QPixmap>
#include <QSlider>

// A speed slider for the skinned control window: it paints its channel over a
// snapshot of the parent's background with a sunken edge, keeps black tick
// marks below the channel, and draws its thumb as an ellipse in one colour at
// rest and another while it is dragged.
class CMySliderControl : public QSlider
{
    Q_OBJECT

  public:
    /// A horizontal slider with tick marks below, black thumb colours and no tool tip.
    explicit CMySliderControl(QWidget* parent = nullptr);
    ~CMySliderControl() override;

    /// Stores the thumb's fill at rest and while dragged; does not repaint.
    void SetThumbColors(ColorRef normal, ColorRef selected);

    /// Sets the tool tip's text (a null text changes nothing) and shows it or not.
    void SetTooltipText(const QString& text, bool activate);

    /// The rectangle the thumb's ellipse fills.
    QRect ThumbRect() const;
    /// The channel the thumb runs along; its sunken edge lies just outside it.
    QRect ChannelRect() const;

  protected:
    /// Snapshot, tick marks, sunken channel edge, thumb.
    void paintEvent(QPaintEvent* event) override;
    /// A new range sets the page step (Page Up, Page Down, a click on the channel) to a fifth of
    /// it.
    void sliderChange(SliderChange change) override;

  private:
    void DrawTicks(QPainter& painter) const;
    void DrawChannel(QPainter& painter) const;
    void DrawThumb(QPainter& painter) const;
    int TickStep() const;

    QPixmap m_background; // the parent's pixels behind the slider, taken at the first paint
    ColorRef m_crThumb = 0;
    ColorRef m_crThumbSelected = 0;
};
