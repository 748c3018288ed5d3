#pragma once

#include "ColorRef.h"

#include <QDialog>
#include <QString>
#include <optional>

class DialogService;
class FontChooser;
class QComboBox;
class QPushButton;

/// The font and text colour the operator picks for the script.
struct FontChoice {
    QString face;       ///< font family name
    int sizeTenths = 0; ///< size in tenths of a point (240 is 24 pt)
    int weight = 0;     ///< weight, 100..900 (400 normal, 700 bold); 0 leaves it to the font
    ColorRef color = 0; ///< text colour
    bool operator==(const FontChoice&) const = default;
};

// The font dialog: face, weight and a size in tenths of a point, with the
// text colour beneath them, answering in the terms the settings keep. OK is
// refused while the size field holds no size within 1..1638 pt.
class TextFontDialog : public QDialog
{
    Q_OBJECT
  public:
    /// A dialog showing `initial`: its face (at most 31 characters) at its
    /// whole point size (the tenths dropped), normal weight, and its colour.
    explicit TextFontDialog(const FontChoice& initial, QWidget* parent = nullptr);

    /// What the dialog shows now.
    FontChoice Choice() const;
    /// The embedded chooser, through which face, weight and size are picked.
    FontChooser& Chooser() const { return *m_chooser; }
    /// Picks `color` in the colour list, adding it when it is not listed.
    void SelectColor(ColorRef color);
    /// Closes the dialog with OK, unless the size field holds no valid size.
    void accept() override;

  private:
    FontChooser* m_chooser;
    QComboBox* m_colors;
    QPushButton* m_ok;
};

/// Runs the font dialog through `service`; empty unless the operator pressed OK.
std::optional<FontChoice> ChooseTextFont(DialogService& service, QWidget* parent,
                                         const FontChoice& initial);
