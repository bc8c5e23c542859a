// The entries of the colour box: "Другой..." holding a colour of the user's choice, then the 16
// standard colours.
#pragma once

#include <array>

#include "common/colour.h"

namespace vt {

struct ColourBoxEntry {
    const char* name;
    Colour colour;
};

inline constexpr const char* kOtherColourName = "Другой...";

inline constexpr std::array<ColourBoxEntry, 16> kColourBoxColours = {{
    {"Чёрный", 0x000000},
    {"Тёмно-бордовый", 0x000080},
    {"Зелёный", 0x008000},
    {"Оливковый", 0x008080},
    {"Тёмно-синий", 0x800000},
    {"Фиолетовый", 0x800080},
    {"Темный сине-зеленый", 0x808000},
    {"Серый", 0x808080},
    {"Светло-серый", 0xC0C0C0},
    {"Красный", 0x0000FF},
    {"Салатный", 0x00FF00},
    {"Жёлтый", 0x00FFFF},
    {"Голубой", 0xFF0000},
    {"Розовый", 0xFF00FF},
    {"Светлый сине-зеленый", 0xFFFF00},
    {"Белый", 0xFFFFFF},
}};

// The position in the box: 1 to 16 for a standard colour, 0 ("Другой...") for any other.
int ColourBoxIndex(Colour colour);

// The box's notifications. Windows sends SelChange alone when the arrow keys or the wheel move
// the selection of the closed box, and SelChange and SelEndOk, in either order, when an entry is
// picked from the dropped list.
enum class ColourBoxEvent { DropDown, SelChange, SelEndOk };
enum class ColourBoxAction { None, Take, AskOtherColour };

// Which entry the box shows, and when a choice of "Другой..." opens the colour dialog: once
// per choice, however the choice was made.
class ColourBoxChoice {
  public:
    // The entry the logic selected.
    void Show(int index) {
        shown_ = index;
        changedWhileClosed_ = false;
    }
    int Shown() const { return shown_; }

    // index: the box's selection when the notification came; dropped: whether its list is open.
    ColourBoxAction On(ColourBoxEvent event, int index, bool dropped);

    // The colour dialog has closed: accepted, "Другой..." is shown; cancelled, the entry shown
    // before it. Returns the entry to show.
    int OtherColourClosed(bool accepted);

  private:
    ColourBoxAction Choose(int index);

    int shown_ = 1;
    // The closed box's SelChange has acted: a SelEndOk of the same choice must not act again.
    bool changedWhileClosed_ = false;
};

}  // namespace vt
