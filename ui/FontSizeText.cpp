#include "FontSizeText.h"

#include <QFont>
#include <QRegularExpression>
#include <cmath>

int PointSizeInTenths(const QFont& font)
{
    return static_cast<int>(std::lround(font.pointSizeF() * 10.0));
}

std::optional<int> ParseFontSizeTenths(const QString& text)
{
    // Four digits reach past the largest size; a second decimal would ask for
    // a size the settings cannot keep, so it is refused rather than rounded.
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d{1,4})(?:[.,](\d)?)?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int tenths =
        match.captured(1).toInt() * 10 + (match.hasCaptured(2) ? match.captured(2).toInt() : 0);
    if (tenths < kMinFontSizeTenths || tenths > kMaxFontSizeTenths)
        return std::nullopt;
    return tenths;
}

QString FontSizeText(int tenths)
{
    const QString whole = QString::number(tenths / 10);
    return tenths % 10 == 0 ? whole : whole + u'.' + QString::number(tenths % 10);
}
