#include "FontChooser.h"

#include "FaceStandIn.h"
#include "FontSizeText.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

namespace
{

// The sizes listed under the size field, in tenths of a point.
constexpr std::array<int, 17> kUsualSizes = {80,  90,  100, 105, 110, 120, 140, 160, 180,
                                             200, 220, 240, 260, 280, 360, 480, 720};

// Weight names for 100, 200, ... 900.
constexpr std::array<const char*, 9> kWeightNames = {
    QT_TRANSLATE_NOOP("FontChooser", "Thin"),   QT_TRANSLATE_NOOP("FontChooser", "Extra Light"),
    QT_TRANSLATE_NOOP("FontChooser", "Light"),  QT_TRANSLATE_NOOP("FontChooser", "Regular"),
    QT_TRANSLATE_NOOP("FontChooser", "Medium"), QT_TRANSLATE_NOOP("FontChooser", "Semi Bold"),
    QT_TRANSLATE_NOOP("FontChooser", "Bold"),   QT_TRANSLATE_NOOP("FontChooser", "Extra Bold"),
    QT_TRANSLATE_NOOP("FontChooser", "Black"),
};

constexpr int kSampleHeight = 72;

// The face of a listed item that the system lacks; its text carries a mark.
constexpr int kMissingFaceRole = Qt::UserRole;

QString FaceOf(const QListWidgetItem& item)
{
    const QVariant missing = item.data(kMissingFaceRole);
    return missing.isValid() ? missing.toString() : item.text();
}

// A weight as a whole hundred within 100..900, the steps the list names.
int WholeHundredWeight(int weight)
{
    return std::clamp((weight + 50) / 100 * 100, 100, 900);
}

// The weights `family` offers. Regular and Bold are always there: the font
// engine makes a bold face up when a family has none.
std::set<int> OfferedWeights(const QString& family)
{
    std::set<int> weights = {QFont::Normal, QFont::Bold};
    for (const QString& style : QFontDatabase::styles(family)) {
        const int weight = QFontDatabase::weight(family, style);
        if (weight > 0)
            weights.insert(WholeHundredWeight(weight));
    }
    return weights;
}

// The system's families by the names a face is stored under. The database
// tells apart families that several foundries make ("Nimbus Sans [urw]");
// the foundry is dropped, as a stored face names no foundry, and each family
// is listed once.
QStringList FamilyNames()
{
    QStringList names;
    for (QString family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        const qsizetype foundry = family.lastIndexOf(QStringLiteral(" ["));
        if (foundry > 0 && family.endsWith(u']'))
            family.truncate(foundry);
        names.append(family);
    }
    names.removeDuplicates();
    return names;
}

} // namespace

FontChooser::FontChooser(QWidget* parent)
    : QWidget(parent), m_faceFilter(new QLineEdit(this)), m_faces(new QListWidget(this)),
      m_weights(new QComboBox(this)), m_sizes(new QComboBox(this)),
      m_sample(new QLabel(QStringLiteral("AaBbYyZz"), this))
{
    m_faces->addItems(FamilyNames());
    // The field above the list finds a font; the list shows the one chosen.
    m_faceFilter->setPlaceholderText(tr("Type to find a font"));

    // Sizes are typed exactly as meant: completing "1" to "10" would get in
    // the way of typing 1 pt, and a typed size is not added to the list.
    m_sizes->setEditable(true);
    m_sizes->setInsertPolicy(QComboBox::NoInsert);
    m_sizes->setCompleter(nullptr);
    for (const int tenths : kUsualSizes)
        m_sizes->addItem(FontSizeText(tenths));

    // The sample keeps its place whatever the size: a large font is clipped
    // to the box instead of growing the dialog.
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_sample->setFixedHeight(kSampleHeight);

    auto* faceLabel = new QLabel(tr("&Font:"), this);
    faceLabel->setBuddy(m_faceFilter);
    auto* weightLabel = new QLabel(tr("&Weight:"), this);
    weightLabel->setBuddy(m_weights);
    auto* sizeLabel = new QLabel(tr("&Size:"), this);
    sizeLabel->setBuddy(m_sizes);
    auto* sampleBox = new QGroupBox(tr("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(m_sample);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(faceLabel, 0, 0);
    layout->addWidget(weightLabel, 0, 1);
    layout->addWidget(sizeLabel, 0, 2);
    layout->addWidget(m_faceFilter, 1, 0);
    layout->addWidget(m_weights, 1, 1);
    layout->addWidget(m_sizes, 1, 2);
    layout->addWidget(m_faces, 2, 0);
    layout->addWidget(sampleBox, 3, 0, 1, 3);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);

    FillWeights(QFont::Normal);
    m_sizes->setEditText(FontSizeText(m_sizeTenths));

    connect(m_faceFilter, &QLineEdit::textEdited, this, &FontChooser::FilterFaces);
    connect(m_faces, &QListWidget::currentTextChanged, this, [this] {
        FillWeights(Weight());
        Update();
    });
    connect(m_weights, &QComboBox::currentIndexChanged, this, &FontChooser::Update);
    connect(m_sizes, &QComboBox::editTextChanged, this, &FontChooser::SizeTextEdited);
    Update();
}

void FontChooser::SetFont(const QFont& font)
{
    SelectFace(font.family());
    FillWeights(font.weight());
    m_sizes->setEditText(
        FontSizeText(std::clamp(PointSizeInTenths(font), kMinFontSizeTenths, kMaxFontSizeTenths)));
    Update();
}

QFont FontChooser::CurrentFont() const
{
    QFont font(Face());
    font.setWeight(static_cast<QFont::Weight>(Weight()));
    font.setPointSizeF(m_sizeTenths / 10.0);
    return font;
}

QString FontChooser::Face() const
{
    const QListWidgetItem* item = m_faces->currentItem();
    return item ? FaceOf(*item) : QString();
}

int FontChooser::Weight() const
{
    return m_weights->currentData().toInt();
}

void FontChooser::SetSampleColor(const QColor& color)
{
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, color);
    m_sample->setPalette(palette);
}

void FontChooser::SelectFace(const QString& face)
{
    m_faceFilter->clear();
    FilterFaces(QString());
    if (face.isEmpty()) {
        m_faces->setCurrentItem(nullptr);
        return;
    }
    QListWidgetItem* item = nullptr;
    for (int row = 0; row < m_faces->count() && !item; ++row) {
        if (FaceOf(*m_faces->item(row)).compare(face, Qt::CaseInsensitive) == 0)
            item = m_faces->item(row);
    }
    // A face the system lacks stays listed, marked, so that OK keeps it.
    if (!item) {
        item = new QListWidgetItem(tr("%1 (not installed)").arg(face));
        item->setData(kMissingFaceRole, face);
        m_faces->insertItem(0, item);
    }
    m_faces->setCurrentItem(item);
    m_faces->scrollToItem(item);
}

void FontChooser::FilterFaces(const QString& text)
{
    QListWidgetItem* prefixMatch = nullptr;
    QListWidgetItem* firstShown = nullptr;
    for (int row = 0; row < m_faces->count(); ++row) {
        QListWidgetItem* item = m_faces->item(row);
        const bool shown = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !firstShown)
            firstShown = item;
        if (shown && !prefixMatch && item->text().startsWith(text, Qt::CaseInsensitive))
            prefixMatch = item;
    }
    // The picked face follows the filter unless it is still shown; with
    // nothing shown it stays what it was.
    const QListWidgetItem* current = m_faces->currentItem();
    if (current && !current->isHidden())
        return;
    if (QListWidgetItem* next = prefixMatch ? prefixMatch : firstShown) {
        m_faces->setCurrentItem(next);
        m_faces->scrollToItem(next);
    }
}

void FontChooser::FillWeights(int preferred)
{
    const QSignalBlocker blocker(m_weights);
    m_weights->clear();
    int nearest = -1;
    for (const int weight : OfferedWeights(Face())) {
        m_weights->addItem(tr(kWeightNames[static_cast<std::size_t>(weight / 100 - 1)]), weight);
        if (nearest < 0 || std::abs(weight - preferred) <
                               std::abs(m_weights->itemData(nearest).toInt() - preferred))
            nearest = m_weights->count() - 1;
    }
    m_weights->setCurrentIndex(nearest);
}

void FontChooser::SizeTextEdited(const QString& text)
{
    const std::optional<int> tenths = ParseFontSizeTenths(text);
    m_sizeValid = tenths.has_value();
    if (tenths)
        m_sizeTenths = *tenths;
    Update();
}

void FontChooser::Update()
{
    // The sample shows what the editor and the prompter will show.
    m_sample->setFont(WithStandInFaces(CurrentFont()));
    emit Changed();
}
