// Fakes of the two dialog views: the state a window would hold, each change journaled.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "journal.h"
#include "ports/about_view.h"
#include "ports/prefs_view.h"
#include "prefs/town_list.h"

namespace vt::test {

inline const char* ControlName(PrefsControl c) {
    switch (c) {
        case PrefsControl::Label3:
            return "Label3";
        case PrefsControl::Label4:
            return "Label4";
        case PrefsControl::Label5:
            return "Label5";
        case PrefsControl::Label6:
            return "Label6";
        case PrefsControl::Label7:
            return "Label7";
        case PrefsControl::Label8:
            return "Label8";
        case PrefsControl::Edit1:
            return "Edit1";
        case PrefsControl::Edit2:
            return "Edit2";
        case PrefsControl::Edit3:
            return "Edit3";
        case PrefsControl::Edit4:
            return "Edit4";
        case PrefsControl::ComboBox2:
            return "ComboBox2";
        case PrefsControl::ColorBox1:
            return "ColorBox1";
        case PrefsControl::Button1:
            return "Button1";
        case PrefsControl::Button3:
            return "Button3";
        case PrefsControl::Button4:
            return "Button4";
    }
    return "?";
}

inline std::string ChoiceName(PrefsChoice c) {
    if (c == PrefsChoice::CheckBox1) return "CheckBox1";
    return "RadioButton" + std::to_string(static_cast<int>(c) + 1);
}

// The preferences window in the state its creation leaves (the table's initial states).
class FakePrefsView : public PrefsView {
  public:
    void ShowForm() override {
        shown = true;
        Note(journal, "prefs: show");
    }
    void HideForm() override {
        shown = false;
        Note(journal, "prefs: hide");
    }
    void SetEnabled(PrefsControl control, bool on) override {
        enabled_[control] = on;
        Note(journal, std::string("prefs: ") + ControlName(control) + (on ? " on" : " off"));
    }
    // The radio buttons of a group exclude each other, as the window's groups do.
    void SetChecked(PrefsChoice choice, bool on) override {
        if (on) {
            for (const auto& group : kGroups) {
                bool inGroup = false;
                for (PrefsChoice c : group) inGroup = inGroup || c == choice;
                if (inGroup) {
                    for (PrefsChoice c : group) checked_[c] = false;
                }
            }
        }
        checked_[choice] = on;
        Note(journal, "prefs: check " + ChoiceName(choice) + (on ? " on" : " off"));
    }
    bool IsChecked(PrefsChoice choice) override { return checked_[choice]; }
    void SetEditText(PrefsControl edit, const std::string& text) override {
        edits_[edit] = text;
        Note(journal, std::string("prefs: ") + ControlName(edit) + "=" + text);
    }
    std::string EditText(PrefsControl edit) override { return edits_[edit]; }

    // Like CB_RESETCONTENT, replacing the entries empties the selection and the text.
    void SetTownEntries(const std::vector<std::string>& list) override {
        entries = list;
        selected_ = -1;
        text_.clear();
        Note(journal, "prefs: town entries " + std::to_string(list.size()));
    }
    int TownEntryCount() override { return static_cast<int>(entries.size()); }
    std::string TownEntry(int index) const {
        return index >= 0 && index < static_cast<int>(entries.size()) ? entries[index]
                                                                      : std::string();
    }
    void SelectTownEntry(int index) override {
        selected_ = index >= 0 && index < TownEntryCount() ? index : -1;
        text_ = TownEntry(selected_);
        Note(journal, "prefs: town select " + std::to_string(index));
    }
    int SelectedTownEntry() override { return selected_; }
    void SetTownText(const std::string& text) override {
        text_ = text;
        Note(journal, "prefs: town text " + text);
    }
    std::string TownText() override { return text_; }

    void SelectColour(Colour colour) override {
        colour_ = colour;
        Note(journal, "prefs: colour " + std::to_string(colour));
    }
    Colour SelectedColour() override { return colour_; }
    void SelectStyle(int index) override {
        style_ = index;
        Note(journal, "prefs: style " + std::to_string(index));
    }
    int SelectedStyle() override { return style_; }

    bool IsEnabled(PrefsControl control) const {
        auto it = enabled_.find(control);
        return it == enabled_.end() || it->second;
    }
    bool Checked(PrefsChoice choice) const {
        auto it = checked_.find(choice);
        return it != checked_.end() && it->second;
    }
    std::string Edit(PrefsControl edit) const {
        auto it = edits_.find(edit);
        return it == edits_.end() ? std::string() : it->second;
    }

    // What the user does; the window reports no handler for these.
    void UserTypes(const std::string& text) { text_ = text; }
    void UserSelectsTown(int index) {
        selected_ = index;
        text_ = TownEntry(index);
    }

    bool shown = false;
    std::vector<std::string> entries{""};
    Journal* journal = nullptr;

  private:
    using P = PrefsChoice;
    static inline const std::vector<std::vector<PrefsChoice>> kGroups = {
        {P::RadioButton1, P::RadioButton2},
        {P::RadioButton3, P::RadioButton4},
        {P::RadioButton5, P::RadioButton6, P::RadioButton7},
        {P::RadioButton8, P::RadioButton9, P::RadioButton10},
    };
    std::map<PrefsControl, bool> enabled_{{PrefsControl::Button1, false},
                                          {PrefsControl::Button4, false},
                                          {PrefsControl::ColorBox1, false}};
    std::map<PrefsChoice, bool> checked_{{P::RadioButton1, true},
                                         {P::RadioButton3, true},
                                         {P::RadioButton5, true},
                                         {P::RadioButton8, true}};
    std::map<PrefsControl, std::string> edits_;
    int selected_ = -1;
    std::string text_ = kTownListLoadingText;
    Colour colour_ = kClBlack;
    int style_ = 0;
};

class FakeAboutView : public AboutView {
  public:
    void ShowForm() override {
        ++shows;
        shown = true;
        Note(journal, "about: show");
    }
    void HideForm() override {
        shown = false;
        Note(journal, "about: hide");
    }
    void SetText(AboutText which, const std::string& text) override {
        texts[which] = text;
        textOrder.push_back(which);
    }
    void OpenAddress(const std::string& address) override {
        opened.push_back(address);
        Note(journal, "about: open " + address);
    }
    void SetAppCursor(AppCursor c) override {
        cursor = c;
        Note(journal, c == AppCursor::HandPoint ? "about: cursor hand" : "about: cursor default");
    }

    bool shown = false;
    int shows = 0;
    std::map<AboutText, std::string> texts;
    std::vector<AboutText> textOrder;
    std::vector<std::string> opened;
    AppCursor cursor = AppCursor::Default;
    Journal* journal = nullptr;
};

}  // namespace vt::test
