// The owner-drawn colour box of the preferences dialog: a swatch and a name in each entry,
// "Другой..." opening the system's colour dialog however it is chosen.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "common/colour.h"
#include "prefs/colour_box.h"
#include "win32/handles.h"

namespace vt {

// Where an entry's swatch and name go. The swatch narrows (to a third of its width at most)
// before the name would be cut; textRoom is the width left for the name.
struct ColourItemLayout {
    int swatchLeft = 0;
    int swatchRight = 0;
    int textLeft = 0;
    int textRoom = 0;
};
ColourItemLayout LayOutColourItem(const RECT& item, int textWidth, int dpi);

// A narrower cut of the font selected in dc, in which text takes at most width pixels; empty
// when the text fits as it is. Some systems' stand-in for the dialog font is wider than the
// box was made for.
UniqueGdiObject FontToFit(HDC dc, const std::wstring& text, int width);

class ColourBoxControl {
  public:
    // Fills the box created from the control table; owner is the colour dialog's owner.
    void Attach(HWND box, HWND owner, int dpi);
    static int ItemHeight(int dpi);
    // The scaling changed: entries and list at the new DPI.
    void Rescale(int dpi);

    void Select(Colour colour);
    Colour Selected() const;
    bool Dropped() const;

    // A CBN_ notification of the box.
    void OnNotify(int code);
    void Draw(const DRAWITEMSTRUCT& item) const;

  private:
    void AskOtherColour();
    void SizeList();
    void ShowEntry(int index);
    Colour ColourOf(int index) const;
    HGDIOBJ NarrowFont(HDC dc, int index, const std::wstring& name, int width) const;

    HWND box_ = nullptr;
    HWND owner_ = nullptr;
    int dpi_ = 96;
    ColourBoxChoice choice_;
    Colour otherColour_ = kClBlack;
    COLORREF customColours_[16] = {};
    // By entry and width: the narrower cut of the font a name needs, or none.
    mutable std::map<std::pair<int, int>, UniqueGdiObject> narrowFonts_;
};

}  // namespace vt
