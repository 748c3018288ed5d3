#pragma once

#include <QFont>
#include <QString>

// A face is stored by the name the operator chose, often on another system.
// Where this system lacks it, the editor and the prompter show it in an
// installed face that keeps its look: for the faces this file knows, the
// stand-ins it lists, tried in turn, at least as heavy as the face itself
// ("Arial Black" is a heavy sans, so a regular weight would thin it out on
// the glass). Any other missing face is left to the system's own choice.
// The font's family, and so the stored name, stays the face asked for.

/// Whether the system has a font family named `face`, case ignored.
bool IsFaceInstalled(const QString& face);

/// `font` as it is shown: where the system lacks its family, that family's
/// stand-ins follow it and the weight is raised to the family's own.
QFont WithStandInFaces(QFont font);
