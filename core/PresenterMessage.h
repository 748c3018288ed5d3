#pragma once

#include <QString>

#include <chrono>

// The short line the operator puts on the glass for the presenter ("WRAP
// IN 30"), from the preview, the remote control or a show controller. It
// stays until it is cleared or its seconds pass, across runs.

inline constexpr int kMessageLongest = 60;          // characters: one line read at a glance
inline constexpr int kMessageLongestSeconds = 3600; // 0 is until cleared

// Puts text on the glass for seconds, 0 meaning until cleared; empty text
// clears it. Line breaks and other control characters read as spaces.
// False, changing nothing, for a longer text or seconds outside
// 0..kMessageLongestSeconds.
bool ShowPresenterMessage(const QString& text, int seconds,
                          std::chrono::steady_clock::time_point now);

// The message at now: empty when there is none or its time is up.
QString PresenterMessageAt(std::chrono::steady_clock::time_point now);
