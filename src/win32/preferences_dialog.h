// The preferences dialog's window: built from its control table, it shows what the logic asks
// and turns the user's actions into the logic's handlers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ports/prefs_view.h"
#include "win32/colour_box_control.h"
#include "win32/dialog_frame.h"

namespace vt {

class TForm2;

class PreferencesDialog : public PrefsView {
  public:
    PreferencesDialog(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
    ~PreferencesDialog() override;
    PreferencesDialog(const PreferencesDialog&) = delete;
    PreferencesDialog& operator=(const PreferencesDialog&) = delete;

    // Creates the hidden window; its events go to form.
    bool Create(TForm2& form);
    // For the message loop: keyboard navigation of the dialog.
    bool PreTranslate(MSG& msg) { return hwnd_ && IsDialogMessageW(hwnd_, &msg); }

    void ShowForm() override;
    void HideForm() override;
    void SetEnabled(PrefsControl control, bool enabled) override;
    void SetChecked(PrefsChoice choice, bool checked) override;
    bool IsChecked(PrefsChoice choice) override;
    void SetEditText(PrefsControl edit, const std::string& text) override;
    std::string EditText(PrefsControl edit) override;
    void SetTownEntries(const std::vector<std::string>& entries) override;
    int TownEntryCount() override;
    void SelectTownEntry(int index) override;
    int SelectedTownEntry() override;
    void SetTownText(const std::string& text) override;
    std::string TownText() override;
    void SelectColour(Colour colour) override;
    Colour SelectedColour() override;
    void SelectStyle(int index) override;
    int SelectedStyle() override;

    // For DialogProcOf.
    INT_PTR OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK TownEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    bool Build();
    void SizeTownList();
    void Rescale(int dpi);
    void OnCommand(int id, int code);
    void OnOk();
    void ShowPage(int index);
    void CompleteTownName();
    HWND Control(PrefsControl control) const;

    HINSTANCE instance_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    bool shown_ = false;  // placed once more when first shown
    TForm2* form_ = nullptr;
    int dpi_ = 96;
    ControlTable controls_;
    UniqueGdiObject font_;  // the dialog font after a change of the scaling
    std::vector<std::string> townEntries_;
    ColourBoxControl colourBox_;
};

}  // namespace vt
