#include "FaceStandIn.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <array>

namespace
{

struct StandIn {
    const char* face;
    const char* families; // tried in turn, comma-separated
    int weight;           // the face's own weight
};

// Faces that scripts from other systems name often, with faces of Debian's
// font packages that look like them.
constexpr std::array<StandIn, 7> kStandIns = {{
    {"Arial Black", "Roboto,Liberation Sans,DejaVu Sans", QFont::Black},
    {"Impact", "Roboto Condensed,DejaVu Sans Condensed", QFont::Black},
    {"Verdana", "DejaVu Sans", QFont::Normal},
    {"Tahoma", "DejaVu Sans", QFont::Normal},
    {"Segoe UI", "Roboto,Liberation Sans", QFont::Normal},
    {"Calibri", "Roboto,Liberation Sans", QFont::Normal},
    {"Georgia", "DejaVu Serif,Liberation Serif", QFont::Normal},
}};

} // namespace

bool IsFaceInstalled(const QString& face)
{
    return QFontDatabase::hasFamily(face);
}

QFont WithStandInFaces(QFont font)
{
    const QString face = font.family();
    const auto known = std::find_if(kStandIns.begin(), kStandIns.end(), [&face](const StandIn& s) {
        return face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0;
    });
    if (known == kStandIns.end() || IsFaceInstalled(face))
        return font;
    font.setFamilies(QStringList{face} + QString::fromLatin1(known->families).split(u','));
    font.setWeight(std::max(font.weight(), static_cast<QFont::Weight>(known->weight)));
    return font;
}
