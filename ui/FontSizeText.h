#pragma once

#include <QString>
#include <optional>

class QFont;

/// The smallest size the font dialog takes, in tenths of a point (1 pt).
constexpr int kMinFontSizeTenths = 10;
/// The largest size the font dialog takes, in tenths of a point (1638 pt).
constexpr int kMaxFontSizeTenths = 16380;

/// A font's point size in tenths of a point, rounded: 10.5 pt gives 105.
int PointSizeInTenths(const QFont& font);

/// The size an operator typed, in tenths of a point: whole points with at
/// most one decimal after a '.' or ',' ("10.5" gives 105). Empty when the
/// text is no such number or lies outside 1..1638 pt.
std::optional<int> ParseFontSizeTenths(const QString& text);

/// How a size in tenths of a point is written in the size field: 105 gives
/// "10.5", 120 gives "12".
QString FontSizeText(int tenths);
