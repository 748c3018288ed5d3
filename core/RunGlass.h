#pragma once

#include "GlassOverlay.h"

#include <chrono>
#include <cstdint>

// The glass of the run at hand, from its parameters and its state.

// How the run's glass looks; mirrored as the view showing it is.
GlassLook RunGlassLook(bool mirrored);

// What the run's glass shows at now: the message, the clock when chosen,
// the countdown while there is one.
GlassTexts RunGlassTextsAt(std::chrono::steady_clock::time_point now);

// Follows the run's glass for its overlay, doing the work only when a text
// may have changed: after a change of the message or the countdown, and at
// the next second or the message's end.
class RunGlassFeed
{
  public:
    explicit RunGlassFeed(GlassOverlay& overlay) : m_overlay(overlay) {}

    // Ends a countdown that is due and shows the texts of now when they
    // may have changed; returns when to look again.
    std::chrono::steady_clock::time_point Follow(std::chrono::steady_clock::time_point now);

  private:
    GlassOverlay& m_overlay;
    std::uint64_t m_seenChanges = ~std::uint64_t{0};
    std::chrono::steady_clock::time_point m_due{};
};
