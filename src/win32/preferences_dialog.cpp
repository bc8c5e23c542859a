#include "win32/preferences_dialog.h"

#include <commctrl.h>

#include <iterator>

#include "forms/preferences_form.h"
#include "prefs/town_list.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr int kTownBoxVisibleEntries = 30;
constexpr UINT_PTR kTownEditSubclass = 1;

// Control ids in the order of PrefsControl.
constexpr int kControlIds[] = {
    IDC_LABEL3,    IDC_LABEL4,    IDC_LABEL5,  IDC_LABEL6,  IDC_LABEL7,
    IDC_LABEL8,    IDC_EDIT1,     IDC_EDIT2,   IDC_EDIT3,   IDC_EDIT4,
    IDC_COMBOBOX2, IDC_COLORBOX1, IDC_BUTTON1, IDC_BUTTON3, IDC_BUTTON4,
};
static_assert(std::size(kControlIds) == static_cast<std::size_t>(PrefsControl::Button4) + 1);

int IdOf(PrefsControl control) {
    return kControlIds[static_cast<std::size_t>(control)];
}

struct ChoiceIds {
    int id, groupFirst, groupLast;  // a radio button's group; 0 for the check box
};

// In the order of PrefsChoice.
constexpr ChoiceIds kChoiceIds[] = {
    {IDC_RADIOBUTTON1, IDC_RADIOBUTTON1, IDC_RADIOBUTTON2},
    {IDC_RADIOBUTTON2, IDC_RADIOBUTTON1, IDC_RADIOBUTTON2},
    {IDC_RADIOBUTTON3, IDC_RADIOBUTTON3, IDC_RADIOBUTTON4},
    {IDC_RADIOBUTTON4, IDC_RADIOBUTTON3, IDC_RADIOBUTTON4},
    {IDC_RADIOBUTTON5, IDC_RADIOBUTTON5, IDC_RADIOBUTTON7},
    {IDC_RADIOBUTTON6, IDC_RADIOBUTTON5, IDC_RADIOBUTTON7},
    {IDC_RADIOBUTTON7, IDC_RADIOBUTTON5, IDC_RADIOBUTTON7},
    {IDC_RADIOBUTTON8, IDC_RADIOBUTTON8, IDC_RADIOBUTTON10},
    {IDC_RADIOBUTTON9, IDC_RADIOBUTTON8, IDC_RADIOBUTTON10},
    {IDC_RADIOBUTTON10, IDC_RADIOBUTTON8, IDC_RADIOBUTTON10},
    {IDC_CHECKBOX1, 0, 0},
};
static_assert(std::size(kChoiceIds) == static_cast<std::size_t>(PrefsChoice::CheckBox1) + 1);

ChoiceIds IdsOf(PrefsChoice choice) {
    return kChoiceIds[static_cast<std::size_t>(choice)];
}

bool Dropped(HWND combo) {
    return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace

PreferencesDialog::~PreferencesDialog() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool PreferencesDialog::Create(TForm2& form) {
    form_ = &form;
    dpi_ = SystemDpi();
    hwnd_ = CreateFrameDialog(instance_, owner_, &DialogProcOf<PreferencesDialog>,
                              reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return false;
    SetWindowTextW(hwnd_, Wide(kPreferencesCaption).c_str());
    if (!Build()) return false;
    SizeAndPlace(hwnd_, kPreferencesWidth, kPreferencesHeight, kPreferencesLeft, kPreferencesTop,
                 dpi_);
    return true;
}

bool PreferencesDialog::Build() {
    const bool built = controls_.Build(hwnd_, kPreferencesControls, dpi_, [this](int) {
        return CreatePageDialog(instance_, hwnd_, &DialogProcOf<PreferencesDialog>,
                                reinterpret_cast<LPARAM>(this));
    });
    if (!built) return false;
    SizeTownList();
    SendMessageW(controls_[IDC_COMBOBOX1], CB_SETMINVISIBLE, kTownBoxVisibleEntries, 0);
    SendMessageW(controls_[IDC_COMBOBOX1], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
    SetWindowTextW(controls_[IDC_COMBOBOX1], Wide(kTownListLoadingText).c_str());
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(controls_[IDC_COMBOBOX1], &info) && info.hwndItem) {
        SetWindowSubclass(info.hwndItem, &PreferencesDialog::TownEditProc, kTownEditSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    }

    for (const char* style : {"Светлые", "Тёмные"}) {
        SendMessageW(controls_[IDC_COMBOBOX2], CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(style).c_str()));
    }
    SendMessageW(controls_[IDC_COMBOBOX2], CB_SETCURSEL, 0, 0);

    colourBox_.Attach(controls_[IDC_COLORBOX1], hwnd_, dpi_);

    // The state before the first filling.
    SetChecked(PrefsChoice::RadioButton1, true);
    SetChecked(PrefsChoice::RadioButton3, true);
    SetChecked(PrefsChoice::RadioButton5, true);
    SetChecked(PrefsChoice::RadioButton8, true);
    SetEnabled(PrefsControl::Button4, false);
    SetEnabled(PrefsControl::Button1, false);
    SetEnabled(PrefsControl::ColorBox1, false);
    return true;
}

// Windows draws a combo box's list at the height its window was given.
void PreferencesDialog::SizeTownList() {
    HWND town = controls_[IDC_COMBOBOX1];
    const auto itemHeight = static_cast<int>(SendMessageW(town, CB_GETITEMHEIGHT, 0, 0));
    RECT box;
    GetWindowRect(town, &box);
    SetWindowPos(town, nullptr, 0, 0, box.right - box.left,
                 (box.bottom - box.top) + itemHeight * kTownBoxVisibleEntries + 2,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// The scaling changed: everything from the table again at the new DPI, in the work area.
void PreferencesDialog::Rescale(int dpi) {
    dpi_ = dpi;
    font_ = DialogFontAt(hwnd_, dpi_);
    controls_.Rescale(dpi_, static_cast<HFONT>(font_.Get()));
    SizeTownList();
    colourBox_.Rescale(dpi_);
    SizeAndPlace(hwnd_, kPreferencesWidth, kPreferencesHeight, kPreferencesLeft, kPreferencesTop,
                 dpi_);
}

INT_PTR PreferencesDialog::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DPICHANGED:
            if (hwnd == hwnd_) Rescale(DpiOfMessage(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_PAGES && header->code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(controls_[IDC_PAGES]));
            }
            return TRUE;
        }
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            item->itemHeight = static_cast<UINT>(ColourBoxControl::ItemHeight(dpi_));
            return TRUE;
        }
        case WM_DRAWITEM:
            if (wParam == IDC_COLORBOX1) {
                colourBox_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            if (hwnd == hwnd_) form_->CloseBoxClick();
            return TRUE;
        default:
            return FALSE;
    }
}

void PreferencesDialog::OnCommand(int id, int code) {
    // The buttons whose click goes straight to the logic.
    struct Click {
        int id;
        void (TForm2::*handler)();
    };
    static constexpr Click kClicks[] = {
        {IDC_BUTTON2, &TForm2::Button2Click},
        {IDC_BUTTON3, &TForm2::Button3Click},
        {IDC_BUTTON4, &TForm2::Button4Click},
        {IDC_RADIOBUTTON3, &TForm2::RadioButton3Click},
        {IDC_RADIOBUTTON4, &TForm2::RadioButton4Click},
        {IDC_RADIOBUTTON8, &TForm2::RadioButton8Click},
        {IDC_RADIOBUTTON9, &TForm2::RadioButton9Click},
        {IDC_RADIOBUTTON10, &TForm2::RadioButton10Click},
    };
    if (code == BN_CLICKED) {
        for (const Click& click : kClicks) {
            if (click.id == id) {
                (form_->*click.handler)();
                return;
            }
        }
    }
    switch (id) {
        case IDC_BUTTON1:
            if (code == BN_CLICKED) OnOk();
            return;
        case IDC_COLORBOX1:
            colourBox_.OnNotify(code);
            return;
        default:
            return;
    }
}

// Enter reaches OK only while OK can be pressed and no list is open.
void PreferencesDialog::OnOk() {
    if (!IsWindowEnabled(controls_[IDC_BUTTON1])) return;
    for (int box : {IDC_COMBOBOX1, IDC_COMBOBOX2, IDC_COLORBOX1}) {
        if (Dropped(controls_[box])) return;
    }
    form_->Button1Click();
}

void PreferencesDialog::ShowPage(int index) {
    TabCtrl_SetCurSel(controls_[IDC_PAGES], index);
    ShowWindow(controls_[IDC_PAGE_GENERAL], index == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(controls_[IDC_PAGE_CONNECTION], index == 1 ? SW_SHOW : SW_HIDE);
}

void PreferencesDialog::ShowForm() {
    if (!shown_) PlaceInWorkArea(hwnd_, kPreferencesLeft, kPreferencesTop);
    shown_ = true;
    ShowPage(0);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(controls_[IDC_COMBOBOX1]), TRUE);
}

void PreferencesDialog::HideForm() {
    ShowWindow(hwnd_, SW_HIDE);
}

HWND PreferencesDialog::Control(PrefsControl control) const {
    return controls_[IdOf(control)];
}

void PreferencesDialog::SetEnabled(PrefsControl control, bool enabled) {
    EnableWindow(Control(control), enabled);
}

void PreferencesDialog::SetChecked(PrefsChoice choice, bool checked) {
    const ChoiceIds ids = IdsOf(choice);
    if (ids.groupFirst != 0 && checked) {
        for (int id = ids.groupFirst; id <= ids.groupLast; ++id) {
            SendMessageW(controls_[id], BM_SETCHECK, id == ids.id ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return;
    }
    SendMessageW(controls_[ids.id], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool PreferencesDialog::IsChecked(PrefsChoice choice) {
    return SendMessageW(controls_[IdsOf(choice).id], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PreferencesDialog::SetEditText(PrefsControl edit, const std::string& text) {
    SetWindowTextW(Control(edit), Wide(text).c_str());
}

std::string PreferencesDialog::EditText(PrefsControl edit) {
    return Narrow(WindowText(Control(edit)));
}

void PreferencesDialog::SetTownEntries(const std::vector<std::string>& entries) {
    HWND box = controls_[IDC_COMBOBOX1];
    // One redraw for the whole list, and its storage taken at once.
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    std::size_t chars = 0;
    for (const std::string& e : entries) chars += e.size() + 1;
    SendMessageW(box, CB_INITSTORAGE, entries.size(), chars * sizeof(wchar_t));
    for (const std::string& e : entries) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(e).c_str()));
    }
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    // A copy of exactly this size: an empty list gives its memory back.
    std::vector<std::string>(entries).swap(townEntries_);
}

int PreferencesDialog::TownEntryCount() {
    return static_cast<int>(SendMessageW(controls_[IDC_COMBOBOX1], CB_GETCOUNT, 0, 0));
}

void PreferencesDialog::SelectTownEntry(int index) {
    SendMessageW(controls_[IDC_COMBOBOX1], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (index < 0) SetWindowTextW(controls_[IDC_COMBOBOX1], L"");
}

int PreferencesDialog::SelectedTownEntry() {
    return static_cast<int>(SendMessageW(controls_[IDC_COMBOBOX1], CB_GETCURSEL, 0, 0));
}

void PreferencesDialog::SetTownText(const std::string& text) {
    SetWindowTextW(controls_[IDC_COMBOBOX1], Wide(text).c_str());
}

std::string PreferencesDialog::TownText() {
    return Narrow(WindowText(controls_[IDC_COMBOBOX1]));
}

// Typing the beginning of a name completes it with the first entry that begins so, case
// ignored; the typed part stays, the completion is selected so that typing on replaces it.
LRESULT CALLBACK PreferencesDialog::TownEditProc(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_CHAR && wParam >= L' ' && wParam != 0x7F) {
        Guarded(hwnd, 0, [&] {
            reinterpret_cast<PreferencesDialog*>(self)->CompleteTownName();
            return LRESULT{0};
        });
    }
    return result;
}

void PreferencesDialog::CompleteTownName() {
    HWND box = controls_[IDC_COMBOBOX1];
    DWORD start = 0, end = 0;
    SendMessageW(box, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const std::wstring typed = WindowText(box);
    if (end != typed.size()) return;  // completing only at the end of the text
    const int index = FindEntryByPrefix(townEntries_, Narrow(typed));
    if (index < 0) return;
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), -1));
}

void PreferencesDialog::SelectColour(Colour colour) {
    colourBox_.Select(colour);
}

Colour PreferencesDialog::SelectedColour() {
    return colourBox_.Selected();
}

void PreferencesDialog::SelectStyle(int index) {
    SendMessageW(controls_[IDC_COMBOBOX2], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int PreferencesDialog::SelectedStyle() {
    const LRESULT index = SendMessageW(controls_[IDC_COMBOBOX2], CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : static_cast<int>(index);
}

}  // namespace vt
