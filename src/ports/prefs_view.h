// The preferences dialog as its logic sees it: controls named as in the dialog's table, texts in
// UTF-8. Selecting a radio button here clears the others of its group and runs no handler.
#pragma once

#include <string>
#include <vector>

#include "common/colour.h"

namespace vt {

enum class PrefsControl {
    Label3,
    Label4,
    Label5,
    Label6,
    Label7,
    Label8,
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    ComboBox2,
    ColorBox1,
    Button1,
    Button3,
    Button4,
};

enum class PrefsChoice {
    RadioButton1,
    RadioButton2,
    RadioButton3,
    RadioButton4,
    RadioButton5,
    RadioButton6,
    RadioButton7,
    RadioButton8,
    RadioButton9,
    RadioButton10,
    CheckBox1,
};

class PrefsView {
  public:
    virtual ~PrefsView() = default;
    // Shows the dialog, or brings it forward, with the town box focused.
    virtual void ShowForm() = 0;
    virtual void HideForm() = 0;
    virtual void SetEnabled(PrefsControl control, bool enabled) = 0;
    virtual void SetChecked(PrefsChoice choice, bool checked) = 0;
    virtual bool IsChecked(PrefsChoice choice) = 0;
    // Edit1 to Edit4 are PrefsControl::Edit1 .. Edit4.
    virtual void SetEditText(PrefsControl edit, const std::string& text) = 0;
    virtual std::string EditText(PrefsControl edit) = 0;

    // The town box (ComboBox1): entries replaced at once, so that a long list loads in one go.
    virtual void SetTownEntries(const std::vector<std::string>& entries) = 0;
    virtual int TownEntryCount() = 0;
    // -1 selects nothing and empties the text.
    virtual void SelectTownEntry(int index) = 0;
    virtual int SelectedTownEntry() = 0;
    virtual void SetTownText(const std::string& text) = 0;
    virtual std::string TownText() = 0;

    virtual void SelectColour(Colour colour) = 0;
    virtual Colour SelectedColour() = 0;
    // ComboBox2: 0 "Светлые", 1 "Тёмные".
    virtual void SelectStyle(int index) = 0;
    virtual int SelectedStyle() = 0;
};

}  // namespace vt
