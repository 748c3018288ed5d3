#include "TextFontDialog.h"

#include "DialogService.h"
#include "FaceName.h"
#include "FontChooser.h"
#include "FontSizeText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace
{

// The sixteen colours a font dialog traditionally lists.
struct NamedColor {
    const char* name;
    ColorRef color;
};
constexpr std::array<NamedColor, 16> kStandardColors = {{
    {"Black", MakeColorRef(0, 0, 0)},
    {"Maroon", MakeColorRef(128, 0, 0)},
    {"Green", MakeColorRef(0, 128, 0)},
    {"Olive", MakeColorRef(128, 128, 0)},
    {"Navy", MakeColorRef(0, 0, 128)},
    {"Purple", MakeColorRef(128, 0, 128)},
    {"Teal", MakeColorRef(0, 128, 128)},
    {"Gray", MakeColorRef(128, 128, 128)},
    {"Silver", MakeColorRef(192, 192, 192)},
    {"Red", MakeColorRef(255, 0, 0)},
    {"Lime", MakeColorRef(0, 255, 0)},
    {"Yellow", MakeColorRef(255, 255, 0)},
    {"Blue", MakeColorRef(0, 0, 255)},
    {"Fuchsia", MakeColorRef(255, 0, 255)},
    {"Aqua", MakeColorRef(0, 255, 255)},
    {"White", MakeColorRef(255, 255, 255)},
}};

// The dialog opens at the whole point size: the tenths are dropped, so 12.5 pt
// opens as 12 pt, and a size outside the field's range at its nearest end.
QFont InitialFont(const FontChoice& initial)
{
    QFont font(initial.face.left(kMaxFaceNameChars));
    font.setPointSize(
        std::clamp(initial.sizeTenths / 10, kMinFontSizeTenths / 10, kMaxFontSizeTenths / 10));
    return font;
}

} // namespace

TextFontDialog::TextFontDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent), m_chooser(new FontChooser(this)), m_colors(new QComboBox(this))
{
    setWindowTitle(tr("Font"));
    m_chooser->SetFont(InitialFont(initial));

    // Connected first, so that the colour the list starts at reaches the sample.
    connect(m_colors, &QComboBox::currentIndexChanged, this, [this] {
        m_chooser->SetSampleColor(ToQColor(m_colors->currentData().value<ColorRef>()));
    });
    for (const NamedColor& entry : kStandardColors) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(entry.color));
        m_colors->addItem(QIcon(swatch), tr(entry.name), entry.color);
    }
    SelectColor(initial.color);

    auto* colorRow = new QFormLayout;
    colorRow->addRow(tr("&Color:"), m_colors);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextFontDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_chooser, &FontChooser::Changed, this,
            [this] { m_ok->setEnabled(m_chooser->HasValidSize()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chooser);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

void TextFontDialog::SelectColor(ColorRef color)
{
    int index = m_colors->findData(color);
    if (index < 0) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(color));
        m_colors->addItem(QIcon(swatch), tr("Custom"), color);
        index = m_colors->count() - 1;
    }
    m_colors->setCurrentIndex(index);
}

void TextFontDialog::accept()
{
    if (m_chooser->HasValidSize())
        QDialog::accept();
}

FontChoice TextFontDialog::Choice() const
{
    return {m_chooser->Face(), m_chooser->SizeTenths(), m_chooser->Weight(),
            m_colors->currentData().value<ColorRef>()};
}

std::optional<FontChoice> ChooseTextFont(DialogService& service, QWidget* parent,
                                         const FontChoice& initial)
{
    TextFontDialog dialog(initial, parent);
    if (service.ExecDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}
