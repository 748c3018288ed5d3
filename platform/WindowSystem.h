#pragma once

#include <QByteArray>

// Which of Qt's window-system platforms the program runs on. Qt 6.4 takes
// the X platform on some Wayland desktops (GNOME's among them), and the
// program then runs through XWayland, where a prompter that has just come up
// is deactivated at once, which ends the run. On a Wayland session the
// program therefore asks for Qt's Wayland platform first and falls back to X
// where that cannot start (no qt6-wayland, no compositor). A platform named
// in QT_QPA_PLATFORM is always kept.

/// The platform list to ask Qt for, from the values of QT_QPA_PLATFORM,
/// WAYLAND_DISPLAY and XDG_SESSION_TYPE; empty leaves the choice to Qt.
QByteArray PreferredPlatform(const QByteArray& requested, const QByteArray& waylandDisplay,
                             const QByteArray& sessionType);

/// Applies that rule to the environment; called before the application
/// object is made.
void ChooseWindowSystem();
