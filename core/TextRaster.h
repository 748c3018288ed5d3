#pragma once

#include <QFont>
#include <QString>

class Surface;
class SurfaceDc;

// Turns script lines into pixels: the prompter font, the height of a line,
// the first image of a run and the line strip that feeds the screen.
// Mirror-reversed runs are drawn right-reading and then mirrored here, so
// the screen never needs mirroring of its own.

// Builds the prompter font from a face (cut to 31 characters), a size in
// points for the 96 dpi of the prompter mode (48 pt gives 64 pixels) and a
// weight, replacing the font of the previous run. A face that is not
// installed gives a sans face; a size that cannot be made gives the
// application's font.
void CreatePrompterFont(const QString& face, int points, int weight);

// The prompter font, or the application's font before one has been made.
QFont PrompterFont();

// The height in pixels of one line of the prompter font, drawn on surface.
// Never less than 1.
int MeasureLineHeight(Surface& surface);

// Puts the bytes of the script from offset up to the next LF into the run
// state's lineBuffer (a CR stays) and returns the LF's offset, or the end
// of the script when no LF follows. Never reads outside the script.
int ReadScriptLine(int offset);

// The offset of the line after the one whose end ReadScriptLine returned.
int OffsetAfterLine(int lineEnd);

// Draws the first three lines at the bottom of the off-screen surface at a
// pitch of one line height, the last ending just above row 479, and shows
// the image on the primary surface. A script of fewer lines leaves the
// missing lines in the background. Sets textPos, lineIndex, stripRow and
// the first four line starts.
void DrawInitialImage();

// Draws lineBuffer into the line strip (rows 0 to lineHeight - 1) of the
// surface under dc, mirrored when the run is mirror-reversed.
void DrawStripLine(SurfaceDc& dc);
