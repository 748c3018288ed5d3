#pragma once

#include <optional>
#include <string>
#include <vector>

// The steps that create the objects of a taken-over display, in order.
enum class DisplayStep {
    CreateDisplay,          // the display object for the chosen screen
    CreatePrimarySurface,   // the visible surface
    CreateOffscreenSurface, // the off-screen surface (initial image, line strip)
    CreateMirrorSurface,    // the mirror work surface of mirror-reversed runs
};

// A test's window into the display layer: it can make one creation step
// fail, and it sees every object created and released, in order, as
// "create <what>" and "release <what>" where <what> is display, primary,
// offscreen or mirror.
struct DisplayProbe {
    std::optional<DisplayStep> failAt; // this step fails as if the system refused
    std::vector<std::string> events;   // creations and releases, oldest first
};
