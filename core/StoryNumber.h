#pragma once

#include <chrono>
#include <optional>

// A story number typed at the prompter: digits, then Enter, go to that
// paragraph. A number whose last digit is kStoryNumberPatience old is
// forgotten, so that a digit pressed by mistake does nothing later.
inline constexpr std::chrono::seconds kStoryNumberPatience{2};

// The longest number taken; a longer one is no paragraph's.
inline constexpr int kStoryNumberDigits = 6;

class StoryNumberEntry
{
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Adds a digit, 0 to 9, at now; a number already forgotten starts afresh.
    void Type(int digit, TimePoint now);

    // The number typed, while it stands at now; none when nothing stands
    // or it has more than kStoryNumberDigits digits.
    std::optional<int> Shown(TimePoint now) const;

    // The number that stands at now, and nothing typed from then on.
    std::optional<int> Take(TimePoint now);

  private:
    bool Stands(TimePoint now) const;

    std::optional<TimePoint> m_lastDigit; // none: nothing typed
    int m_number = 0;
    int m_digits = 0;
};
