#include "prefs/colour_box.h"

#include <gtest/gtest.h>

#include <vector>

namespace vt {
namespace {

using E = ColourBoxEvent;

struct Step {
    E event;
    int index;
    bool dropped;
};

// Plays the notifications against a box that shows `start`; each colour dialog is answered
// with the next of `answers`. Returns the dialogs opened and the entry shown at the end.
struct Played {
    int dialogs = 0;
    int shown = -1;
};
Played Play(int start, const std::vector<Step>& steps, std::vector<bool> answers) {
    ColourBoxChoice choice;
    choice.Show(start);
    Played played;
    for (const Step& s : steps) {
        if (choice.On(s.event, s.index, s.dropped) != ColourBoxAction::AskOtherColour) continue;
        const bool accepted = played.dialogs < static_cast<int>(answers.size()) &&
                              answers[static_cast<std::size_t>(played.dialogs)];
        ++played.dialogs;
        choice.OtherColourClosed(accepted);
    }
    played.shown = choice.Shown();
    return played;
}

TEST(ColourBoxChoice, OpensTheColourDialogOncePerChoiceInEveryOrderWindowsUses) {
    struct Case {
        const char* name;
        int start;
        std::vector<Step> steps;
        std::vector<bool> answers;
        int dialogs, shown;
    };
    const Case cases[] = {
        {"arrow key in the closed box", 1, {{E::SelChange, 0, false}}, {false}, 1, 1},
        {"arrow key, dialog accepted", 1, {{E::SelChange, 0, false}}, {true}, 1, 0},
        {"arrow keys through the entries",
         3,
         {{E::SelChange, 2, false}, {E::SelChange, 1, false}},
         {},
         0,
         1},
        {"picked from the list: change then ok",
         5,
         {{E::DropDown, 5, false}, {E::SelChange, 0, true}, {E::SelEndOk, 0, true}},
         {false},
         1,
         5},
        {"picked from the list: ok then change after closing",
         5,
         {{E::DropDown, 5, false}, {E::SelEndOk, 0, true}, {E::SelChange, 5, false}},
         {false},
         1,
         5},
        {"picked, the list closed before both",
         5,
         {{E::DropDown, 5, false}, {E::SelChange, 0, false}, {E::SelEndOk, 0, false}},
         {true},
         1,
         0},
        {"a standard colour from the list",
         5,
         {{E::DropDown, 5, false}, {E::SelChange, 9, true}, {E::SelEndOk, 9, true}},
         {},
         0,
         9},
        // A custom colour shown stays across a cancelled dialog, and can be chosen again.
        {"custom shown, picked again and cancelled",
         0,
         {{E::DropDown, 0, false}, {E::SelEndOk, 0, true}},
         {false},
         1,
         0},
        {"custom shown, an arrow key away and back",
         0,
         {{E::SelChange, 1, false}, {E::SelChange, 0, false}},
         {false},
         1,
         1},
        {"the same entry picked again",
         4,
         {{E::DropDown, 4, false}, {E::SelEndOk, 4, true}},
         {},
         0,
         4},
        {"a keyboard change, then a pick from the list",
         2,
         {{E::SelChange, 1, false}, {E::DropDown, 1, false}, {E::SelEndOk, 0, true}},
         {true},
         1,
         0},
        {"no selection", 2, {{E::SelChange, -1, false}, {E::SelEndOk, -1, false}}, {}, 0, 2},
    };
    for (const Case& c : cases) {
        const Played played = Play(c.start, c.steps, c.answers);
        EXPECT_EQ(played.dialogs, c.dialogs) << c.name;
        EXPECT_EQ(played.shown, c.shown) << c.name;
    }
}

}  // namespace
}  // namespace vt
