#pragma once

#include "ColorRef.h"

#include <QLabel>

class QFontMetrics;

// A text label with no background of its own: its text, in a colour the owner
// chooses, stands on whatever the parent painted. A line too wide for the label
// keeps its beginning and its file name and shows "..." between them.
class CTransparentStatic : public QLabel
{
    Q_OBJECT

  public:
    /// A label with black text until the owner gives it a colour.
    explicit CTransparentStatic(QWidget* parent = nullptr);
    ~CTransparentStatic() override;

    /// Stores the text colour and repaints the whole label.
    void SetTextColor(ColorRef color);
    /// The text colour.
    ColorRef TextColor() const { return m_crLabelText; }

    /// `line` shortened to `width` pixels: its beginning, "...", and the end
    /// from the last '/' or '\' on (or "..." at the end when it has neither).
    static QString PathEllipsis(const QString& line, const QFontMetrics& metrics, int width);

  protected:
    /// Draws each line of the text top-left, shortened as PathEllipsis does; no background.
    void paintEvent(QPaintEvent* event) override;

  private:
    ColorRef m_crLabelText = 0;
};
