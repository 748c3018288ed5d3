#pragma once

#include "ColorRef.h"

#include <QDialog>
#include <QString>
#include <optional>

class DialogService;
class QComboBox;
class QFont;
class QFontDialog;

/// The font and text colour the operator picks for the script.
struct FontChoice {
    QString face;       ///< font family name
    int sizeTenths = 0; ///< size in tenths of a point (240 is 24 pt)
    int weight = 0;     ///< weight, 100..900 (400 normal, 700 bold); 0 leaves it to the font
    ColorRef color = 0; ///< text colour
    bool operator==(const FontChoice&) const = default;
};

/// A font's point size in tenths of a point, rounded: 10.5 pt gives 105.
int PointSizeInTenths(const QFont& font);

// The font dialog: the platform's font chooser (face, style, size) with a
// text colour choice beneath it, answering in the terms the settings keep.
class TextFontDialog : public QDialog
{
    Q_OBJECT
  public:
    /// A dialog showing `initial`: its face (at most 31 characters) at its
    /// whole point size (the tenths dropped), normal weight, and its colour.
    explicit TextFontDialog(const FontChoice& initial, QWidget* parent = nullptr);

    /// What the dialog shows now.
    FontChoice Choice() const;
    /// The embedded font chooser, through which face, style and size are picked.
    QFontDialog* FontChooser() const { return m_fontChooser; }
    /// Picks `color` in the colour list, adding it when it is not listed.
    void SelectColor(ColorRef color);

  private:
    QFontDialog* m_fontChooser;
    QComboBox* m_colors;
};

/// Runs the font dialog through `service`; empty unless the operator pressed OK.
std::optional<FontChoice> ChooseTextFont(DialogService& service, QWidget* parent,
                                         const FontChoice& initial);
