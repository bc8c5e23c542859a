// The controls of the two dialogs as tables: kind, logical parent, position and size in pixels
// at 96 DPI within that parent, caption. The dialogs are built from these tables, and the test
// driver checks the built windows against them. A width of 0 sizes the control to its text.
#pragma once

#include "resource_ids.h"

namespace vt {

enum class ControlKind {
    Tabs,
    Page,
    Group,
    Label,
    Link,
    Radio,
    Check,
    Button,
    DefaultButton,
    Edit,
    Password,
    TownBox,    // editable drop-down list
    StyleBox,   // fixed drop-down list
    ColourBox,  // owner-drawn fixed drop-down list
    Panel,
    Picture,
};

struct ControlSpec {
    int id;
    const char* name;  // the component's name, by which the test driver finds it
    ControlKind kind;
    int parent;  // 0: the dialog's client area, else the id of a page, frame or panel
    int x, y, width, height;
    const char* caption;
};

inline constexpr int kPreferencesWidth = 398;
inline constexpr int kPreferencesHeight = 504;
inline constexpr int kPreferencesLeft = 447;
inline constexpr int kPreferencesTop = 213;
inline constexpr const char* kPreferencesCaption = "Vantorel.Tray: Настройка";

// In creation order, which is also the order of the Tab key.
inline constexpr ControlSpec kPreferencesControls[] = {
    {IDC_PAGES, "Pages", ControlKind::Tabs, 0, 7, 8, 384, 441, ""},
    {IDC_PAGE_GENERAL, "GeneralPage", ControlKind::Page, IDC_PAGES, 0, 0, 0, 0, "Общие"},
    {IDC_GROUPBOX1, "GroupBox1", ControlKind::Group, IDC_PAGE_GENERAL, 5, 16, 366, 65,
     "Список городов"},
    {IDC_COMBOBOX1, "ComboBox1", ControlKind::TownBox, IDC_GROUPBOX1, 13, 26, 205, 21,
     "Идёт загрузка списка городов"},
    {IDC_BUTTON4, "Button4", ControlKind::Button, IDC_GROUPBOX1, 225, 24, 118, 22, "Обновить"},
    {IDC_GROUPBOX2, "GroupBox2", ControlKind::Group, IDC_PAGE_GENERAL, 5, 91, 366, 71,
     "Прогноз погоды"},
    {IDC_LABEL1, "Label1", ControlKind::Label, IDC_GROUPBOX2, 10, 17, 0, 0,
     "(только для Windows 2000 и более поздних версий)"},
    {IDC_RADIOBUTTON1, "RadioButton1", ControlKind::Radio, IDC_GROUPBOX2, 13, 42, 0, 0,
     "День + ночь"},
    {IDC_RADIOBUTTON2, "RadioButton2", ControlKind::Radio, IDC_GROUPBOX2, 114, 43, 0, 0, "День"},
    {IDC_GROUPBOX3, "GroupBox3", ControlKind::Group, IDC_PAGE_GENERAL, 5, 174, 366, 112,
     "Тип иконки"},
    {IDC_RADIOBUTTON3, "RadioButton3", ControlKind::Radio, IDC_GROUPBOX3, 13, 24, 0, 0,
     "Облачность и осадки"},
    {IDC_RADIOBUTTON4, "RadioButton4", ControlKind::Radio, IDC_GROUPBOX3, 198, 25, 0, 0,
     "Температура"},
    {IDC_LABEL8, "Label8", ControlKind::Label, IDC_GROUPBOX3, 13, 58, 0, 0, "Стиль иконок:"},
    {IDC_LABEL7, "Label7", ControlKind::Label, IDC_GROUPBOX3, 198, 58, 0, 0,
     "Цвет надписи температуры:"},
    {IDC_COMBOBOX2, "ComboBox2", ControlKind::StyleBox, IDC_PAGE_GENERAL, 18, 252, 145, 21, ""},
    {IDC_COLORBOX1, "ColorBox1", ControlKind::ColourBox, IDC_PAGE_GENERAL, 203, 252, 145, 22, ""},
    {IDC_GROUPBOX4, "GroupBox4", ControlKind::Group, IDC_PAGE_GENERAL, 5, 292, 366, 70,
     "Задержка всплывающей подсказки"},
    {IDC_LABEL2, "Label2", ControlKind::Label, IDC_GROUPBOX4, 10, 16, 0, 0,
     "(только для Windows 2000 и более поздних версий)"},
    {IDC_RADIOBUTTON5, "RadioButton5", ControlKind::Radio, IDC_GROUPBOX4, 13, 40, 0, 0, "10"},
    {IDC_RADIOBUTTON6, "RadioButton6", ControlKind::Radio, IDC_GROUPBOX4, 88, 41, 0, 0, "15"},
    {IDC_RADIOBUTTON7, "RadioButton7", ControlKind::Radio, IDC_GROUPBOX4, 154, 42, 0, 0, "20"},
    {IDC_CHECKBOX1, "CheckBox1", ControlKind::Check, IDC_PAGE_GENERAL, 8, 384, 0, 0,
     "Автозапуск с Windows"},
    {IDC_PAGE_CONNECTION, "ConnectionPage", ControlKind::Page, IDC_PAGES, 0, 0, 0, 0,
     "Подключение"},
    {IDC_GROUPBOX5, "GroupBox5", ControlKind::Group, IDC_PAGE_CONNECTION, 5, 16, 366, 371,
     "Настройка соединения с Internet"},
    {IDC_RADIOBUTTON8, "RadioButton8", ControlKind::Radio, IDC_GROUPBOX5, 16, 32, 0, 0,
     "Прямое соединение"},
    {IDC_RADIOBUTTON9, "RadioButton9", ControlKind::Radio, IDC_GROUPBOX5, 16, 56, 0, 0,
     "Использовать настройки Internet Explorer"},
    {IDC_RADIOBUTTON10, "RadioButton10", ControlKind::Radio, IDC_GROUPBOX5, 16, 87, 0, 0,
     "Использовать proxy - сервер"},
    {IDC_LABEL3, "Label3", ControlKind::Label, IDC_GROUPBOX5, 93, 138, 0, 0, "Адрес:"},
    {IDC_EDIT1, "Edit1", ControlKind::Edit, IDC_GROUPBOX5, 141, 136, 121, 21, ""},
    {IDC_LABEL4, "Label4", ControlKind::Label, IDC_GROUPBOX5, 99, 171, 0, 0, "Порт:"},
    {IDC_EDIT2, "Edit2", ControlKind::Edit, IDC_GROUPBOX5, 141, 168, 121, 21, ""},
    {IDC_LABEL5, "Label5", ControlKind::Label, IDC_GROUPBOX5, 29, 210, 0, 0, "Имя пользователя:"},
    {IDC_EDIT3, "Edit3", ControlKind::Edit, IDC_GROUPBOX5, 141, 208, 121, 21, ""},
    {IDC_LABEL6, "Label6", ControlKind::Label, IDC_GROUPBOX5, 87, 243, 0, 0, "Пароль:"},
    {IDC_EDIT4, "Edit4", ControlKind::Password, IDC_GROUPBOX5, 141, 240, 121, 21, ""},
    {IDC_BUTTON3, "Button3", ControlKind::Button, 0, 5, 466, 84, 25, "О программе"},
    {IDC_BUTTON1, "Button1", ControlKind::DefaultButton, 0, 240, 466, 73, 25, "Ок"},
    {IDC_BUTTON2, "Button2", ControlKind::Button, 0, 316, 466, 73, 25, "Отмена"},
};

inline constexpr int kAboutWidth = 299;
inline constexpr int kAboutHeight = 213;
inline constexpr int kAboutLeft = 503;
inline constexpr int kAboutTop = 140;
inline constexpr const char* kAboutCaption = "Vantorel.Tray";

// Captions of the labels are set by the About logic.
inline constexpr ControlSpec kAboutControls[] = {
    {IDC_ABOUT_PANEL1, "Panel1", ControlKind::Panel, 0, 2, 8, 289, 162, ""},
    {IDC_ABOUT_IMAGE1, "Image1", ControlKind::Picture, IDC_ABOUT_PANEL1, 18, 16, 54, 77, ""},
    {IDC_ABOUT_LABEL1, "Label1", ControlKind::Label, IDC_ABOUT_PANEL1, 95, 18, 0, 0, ""},
    {IDC_ABOUT_LABEL4, "Label4", ControlKind::Link, IDC_ABOUT_PANEL1, 96, 48, 0, 0, ""},
    {IDC_ABOUT_LABEL2, "Label2", ControlKind::Label, IDC_ABOUT_PANEL1, 98, 74, 0, 0, ""},
    {IDC_ABOUT_LABEL8, "Label8", ControlKind::Label, IDC_ABOUT_PANEL1, 175, 74, 0, 0, ""},
    {IDC_ABOUT_LABEL5, "Label5", ControlKind::Label, IDC_ABOUT_PANEL1, 16, 99, 0, 0, ""},
    {IDC_ABOUT_LABEL6, "Label6", ControlKind::Label, IDC_ABOUT_PANEL1, 17, 115, 0, 0, ""},
    {IDC_ABOUT_LABEL7, "Label7", ControlKind::Link, IDC_ABOUT_PANEL1, 61, 115, 0, 0, ""},
    {IDC_ABOUT_BUTTON1, "Button1", ControlKind::DefaultButton, 0, 119, 180, 81, 25, ""},
};

}  // namespace vt
