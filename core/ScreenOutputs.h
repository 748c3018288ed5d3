#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The screens that show a run besides the prompter's own monitor (the main
// output, which keeps the focus and the keys). The settings hold a choice
// per screen by the name the window system gives it, [Outputs] DUMMY1=2.

// What one screen shows during a run.
enum class OutputChoice {
    Off = 0,      // nothing of the run
    Forward = 1,  // the run, right-reading
    Reversed = 2, // the run, mirror-reversed for a glass
};

struct ScreenOutputChoice {
    QString screen; // the window system's name for it (QScreen::name)
    OutputChoice choice = OutputChoice::Off;
    bool operator==(const ScreenOutputChoice&) const = default;
};

// The screens chosen, in the order the settings file holds them; names
// compare as the file's names do, without regard to ASCII case.
using OutputChoices = std::vector<ScreenOutputChoice>;

// The choice for screen; Off for a screen never chosen.
OutputChoice ChoiceFor(const OutputChoices& choices, const QString& screen);

// Sets the choice for screen; a screen new to choices goes at the end.
void SetChoice(OutputChoices& choices, const QString& screen, OutputChoice choice);

// A screen that shows the run beside the main output.
struct FurtherOutput {
    QString screen;
    bool flipped = false; // shows the main output's picture left-right reversed
    bool operator==(const FurtherOutput&) const = default;
};

struct OutputPlan {
    std::vector<FurtherOutput> outputs; // in the order of the screens connected
    QStringList missing;                // screens chosen but not connected: skipped
};

// Which of the screens connected now show a run whose main output is on
// mainScreen, its picture mirror-reversed when mainMirrored. The main
// output's screen is shown once, as the main output.
OutputPlan PlanOutputs(const OutputChoices& choices, const QStringList& connected,
                       const QString& mainScreen, bool mainMirrored);
