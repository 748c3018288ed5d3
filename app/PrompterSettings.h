#pragma once

#include "ReadingCue.h"

class CIni;

// The prompter's own settings, in a section of their own, [Prompter]:
// ReadingCue (0 or 1), CueHeight (percent of the picture's height from
// its top, 5 to 95) and Preview (0 or 1: the operator's preview of a run on
// another screen). They are read and written with the other settings, at
// start-up and once at exit.

/// The reading cue as the settings file keeps it: off at 33 % when nothing
/// is kept; a height out of range is taken to the nearest end of the range,
/// one that is no number gives 33 %.
ReadingCue LoadPrompterSettings(const CIni& ini);

/// Writes the cue when it differs from `loaded`, what the file held at
/// start-up, so that a file whose cue was never changed gains no section.
void SavePrompterSettings(CIni& ini, const ReadingCue& cue, const ReadingCue& loaded);

/// Whether a run on another screen shows the operator a preview: off when
/// nothing is kept.
bool LoadPreviewChoice(const CIni& ini);

/// Writes the preview's choice when it differs from `loaded`, what the file
/// held at start-up.
void SavePreviewChoice(CIni& ini, bool shown, bool loaded);
