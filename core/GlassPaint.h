#pragma once

#include "GlassLayout.h"
#include "ReadingCue.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

// What is drawn over the script on the glass, and how: the reading cue and
// the texts for the presenter, each in a place of its own so that none
// covers a letter of the script. The presenters and the operator's preview
// draw it by this one rule.

// How the glass looks for a run.
struct GlassLook {
    ReadingCue cue;
    GlassLayout layout;
    bool mirrored = false;
    QColor text; // the script's colours
    QColor back;
    QFont face; // the script's face; sizes are the glass's own
};

// The texts on the glass at one moment.
struct GlassTexts {
    QString message;              // a band at the top; empty: none
    QString clock;                // the time of day in the bottom corner; empty: none
    std::optional<int> countdown; // seconds, large in the middle
    bool leaderLost = false;      // a follower has lost its leader: a mark in the bottom corner
    bool operator==(const GlassTexts&) const = default;
};

// One thing to draw, right-reading, in its place in device pixels.
struct GlassPiece {
    QRect bounds;
    QImage image; // fills bounds
};

// The pieces for a picture that fills picture in area.
std::vector<GlassPiece> GlassPieces(const QRect& area, const QRect& picture, const GlassLook& look,
                                    const GlassTexts& texts);

// Draws pieces over the picture, each the exact mirror of itself when the
// picture is mirrored.
void DrawGlassPieces(QPainter& painter, const QRect& picture, bool mirrored,
                     const std::vector<GlassPiece>& pieces);
