#include "TextFontDialog.h"

#include "DialogService.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QVBoxLayout>
#include <array>
#include <cmath>

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

constexpr int kMaxFaceLength = 31;

QFont InitialFont(const FontChoice& initial)
{
    QFont font(initial.face.left(kMaxFaceLength));
    font.setPointSize(std::max(1, initial.sizeTenths / 10));
    return font;
}

} // namespace

int PointSizeInTenths(const QFont& font)
{
    return static_cast<int>(std::lround(font.pointSizeF() * 10.0));
}

TextFontDialog::TextFontDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent), m_fontChooser(new QFontDialog(this)), m_colors(new QComboBox(this))
{
    setWindowTitle(tr("Font"));
    // The chooser is shown as a part of this dialog, without its own buttons.
    m_fontChooser->setWindowFlags(Qt::Widget);
    m_fontChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fontChooser->setCurrentFont(InitialFont(initial));

    for (const NamedColor& entry : kStandardColors) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(entry.color));
        m_colors->addItem(QIcon(swatch), tr(entry.name), entry.color);
    }
    SelectColor(initial.color);

    auto* colorRow = new QFormLayout;
    colorRow->addRow(tr("&Color:"), m_colors);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fontChooser);
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

FontChoice TextFontDialog::Choice() const
{
    const QFont font = m_fontChooser->currentFont();
    return {font.family(), PointSizeInTenths(font), static_cast<int>(font.weight()),
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
