#include "prefs/colour_box.h"

namespace vt {

int ColourBoxIndex(Colour colour) {
    for (std::size_t i = 0; i < kColourBoxColours.size(); ++i) {
        if (kColourBoxColours[i].colour == colour) return static_cast<int>(i) + 1;
    }
    return 0;
}

ColourBoxAction ColourBoxChoice::On(ColourBoxEvent event, int index, bool dropped) {
    switch (event) {
        case ColourBoxEvent::DropDown:
            changedWhileClosed_ = false;
            return ColourBoxAction::None;
        case ColourBoxEvent::SelChange:
            // In the open list the user is still looking; the pick comes with SelEndOk.
            if (dropped || index == shown_) return ColourBoxAction::None;
            changedWhileClosed_ = true;
            return Choose(index);
        case ColourBoxEvent::SelEndOk:
            if (changedWhileClosed_) {
                changedWhileClosed_ = false;
                return ColourBoxAction::None;
            }
            // Picking "Другой..." again asks for another colour; any other entry already shown
            // changes nothing.
            if (index == shown_ && index != 0) return ColourBoxAction::None;
            return Choose(index);
    }
    return ColourBoxAction::None;
}

ColourBoxAction ColourBoxChoice::Choose(int index) {
    if (index < 0 || index > static_cast<int>(kColourBoxColours.size())) {
        return ColourBoxAction::None;
    }
    if (index == 0) return ColourBoxAction::AskOtherColour;
    shown_ = index;
    return ColourBoxAction::Take;
}

int ColourBoxChoice::OtherColourClosed(bool accepted) {
    if (accepted) shown_ = 0;
    return shown_;
}

}  // namespace vt
