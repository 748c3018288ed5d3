#pragma once

#include "ColorRef.h"
#include "GlassLayout.h"
#include "ReadingCue.h"
#include "ScreenOutputs.h"
#include "SpeedValue.h"
#include "VoiceSettings.h"

#include <QString>
#include <cstdint>

// The records the settings file holds; SettingsStore.cpp has the one table
// of their keys. Before a load every [Settings] field is zero, false or
// empty.

// The operator's preferences that are kept from one run to the next: the
// [Settings] section, in the order in which it is read and written, and the
// prompter's own [Prompter] section.
struct Settings {
    /// Full path of the script file last used.
    QString m_strMRF;
    /// Prompter background colour.
    ColorRef m_crBack = 0;
    /// Prompter text colour.
    ColorRef m_crText = 0;
    /// Starting speed value (a delay: 0 fastest, 32000 slowest).
    std::int32_t m_nScrollSpeed = 0;
    /// CPU performance value, carried through unchanged.
    std::int32_t m_nCPUSpeed = 0;
    /// Live speed control by mouse position (else by the wheel).
    bool m_bUseMouse = false;
    /// Monitor 1 shows the text right-reading (else mirror-reversed).
    bool m_bRightReading = false;
    /// Face name of the prompter font.
    QString m_strFontName;
    /// Prompter font size in tenths of a point.
    std::int32_t m_nFontSize = 0;
    /// The prompter's reading cue.
    ReadingCue readingCue;
    /// A run on another screen shows the operator a preview.
    bool showPreview = false;
    /// The margin, countdown and clock on the glass.
    GlassLayout glass;
    /// The control window stays in use during a run, and its edits reach the glass.
    bool liveEdit = false;
    /// The time of day the script is to end by, HH:MM:SS; empty: none.
    QString endAt;
    /// What each further screen shows during a run: the [Outputs] section.
    OutputChoices outputs;
    /// Following the speaker's voice, section [Voice].
    VoiceSettings voice;
};

// The ports a TCP server can listen on.
inline constexpr int kLowestPort = 1;
inline constexpr int kHighestPort = 65535;
inline constexpr int kDefaultRemotePort = 8787;

// The remote control's settings, section [Remote]. They are read at start-up
// and written when the operator changes them in the Remote Control dialog,
// or when a token is made.
struct RemoteSettings {
    bool enabled = false;          ///< the server starts with the program
    int port = kDefaultRemotePort; ///< kLowestPort..kHighestPort
    bool lanAccess = false;        ///< every interface, not loopback only
    QString token;                 ///< hexadecimal, made on first enabling
};

inline constexpr int kDefaultOscPort = 9000;

// Show controllers over OSC, section [OSC], read at start-up. OSC has no
// token: with the local network on, only the addresses in allowFrom are read.
struct OscSettings {
    bool enabled = false;       ///< listens from the program's start
    int port = kDefaultOscPort; ///< UDP, kLowestPort..kHighestPort
    bool lanAccess = false;     ///< every interface, not loopback only
    QString allowFrom;          ///< addresses let in from the network, comma-separated
};
