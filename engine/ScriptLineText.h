#pragma once

#include <QString>

#include <string_view>

// The characters of one line of script bytes: UTF-8 when the bytes are
// valid UTF-8, else Windows-1252, with the five bytes that code page leaves
// undefined kept as the characters of the same number.
QString ScriptLineText(std::string_view bytes);
