#include "ScreenOutputs.h"

#include <algorithm>

namespace
{
bool SameScreen(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

OutputChoice ChoiceFor(const OutputChoices& choices, const QString& screen)
{
    const auto found = std::find_if(choices.begin(), choices.end(), [&screen](const auto& chosen) {
        return SameScreen(chosen.screen, screen);
    });
    return found == choices.end() ? OutputChoice::Off : found->choice;
}

void SetChoice(OutputChoices& choices, const QString& screen, OutputChoice choice)
{
    const auto found = std::find_if(choices.begin(), choices.end(), [&screen](const auto& chosen) {
        return SameScreen(chosen.screen, screen);
    });
    if (found != choices.end())
        found->choice = choice;
    else
        choices.push_back({screen, choice});
}

OutputPlan PlanOutputs(const OutputChoices& choices, const QStringList& connected,
                       const QString& mainScreen, bool mainMirrored)
{
    OutputPlan plan;
    for (const QString& screen : connected) {
        const OutputChoice choice = ChoiceFor(choices, screen);
        if (choice != OutputChoice::Off && !SameScreen(screen, mainScreen))
            plan.outputs.push_back({screen, (choice == OutputChoice::Reversed) != mainMirrored});
    }
    for (const ScreenOutputChoice& chosen : choices)
        if (chosen.choice != OutputChoice::Off &&
            std::none_of(connected.begin(), connected.end(), [&chosen](const QString& screen) {
                return SameScreen(screen, chosen.screen);
            }))
            plan.missing.append(chosen.screen);
    return plan;
}
