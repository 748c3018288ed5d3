#include "WindowSystem.h"

#include <gtest/gtest.h>

TEST(WindowSystem, AWaylandSessionAsksForWaylandFirstAndANamedPlatformIsKept)
{
    const struct {
        const char *requested, *waylandDisplay, *sessionType, *chosen;
    } cases[] = {
        {"", "wayland-0", "", "wayland;xcb"},
        {"", "", "wayland", "wayland;xcb"},
        {"", "", "x11", ""},
        {"", "", "", ""},
        {"xcb", "wayland-0", "wayland", ""},
        {"offscreen", "", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreferredPlatform(c.requested, c.waylandDisplay, c.sessionType), c.chosen)
            << c.requested << " / " << c.waylandDisplay << " / " << c.sessionType;
}
