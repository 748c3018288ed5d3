#include "ScreenOutputs.h"

#include <gtest/gtest.h>

TEST(OutputPlan, PutsEachChosenScreenBesideTheMainOneInItsOwnDirection)
{
    constexpr auto Off = OutputChoice::Off;
    constexpr auto Forward = OutputChoice::Forward;
    constexpr auto Reversed = OutputChoice::Reversed;
    const QStringList connected = {"DESK", "WIDE", "SQUARE"};
    const OutputChoices all = {{"wide", Forward},
                               {"SQUARE", Reversed},
                               {"GONE", Forward},
                               {"DESK", Reversed},
                               {"OFF", Off}};
    struct Case {
        const char* name;
        OutputChoices choices;
        QString main;
        bool mirrored;
        std::vector<FurtherOutput> outputs;
        QStringList missing;
    };
    const Case cases[] = {
        {"none chosen", {}, "DESK", false, {}, {}},
        {"right-reading main", all, "DESK", false, {{"WIDE", false}, {"SQUARE", true}}, {"GONE"}},
        // A mirrored main picture is flipped back for a forward screen.
        {"mirrored main", all, "DESK", true, {{"WIDE", true}, {"SQUARE", false}}, {"GONE"}},
        // The main output's screen is shown once, as the main output.
        {"main chosen too", all, "SQUARE", false, {{"DESK", true}, {"WIDE", false}}, {"GONE"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OutputPlan plan = PlanOutputs(c.choices, connected, c.main, c.mirrored);
        EXPECT_EQ(plan.outputs, c.outputs);
        EXPECT_EQ(plan.missing, c.missing);
    }
}
