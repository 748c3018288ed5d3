#pragma once

// A font face name is cut to this many characters wherever a font is made
// from it: the face field it is kept in holds 32 bytes with the closing NUL.
constexpr int kMaxFaceNameChars = 31;
