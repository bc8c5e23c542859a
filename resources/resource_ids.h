// Resource identifiers shared by the .rc file and the program.
#pragma once

#define IDI_EMBLEM 1
#define IDI_TRAY_DARK_FIRST 100
#define IDI_TRAY_LIGHT_FIRST 200
#define IDI_MENU_FIRST 300
#define VT_TRAY_PICTURE_COUNT 12
#define VT_MENU_PICTURE_COUNT 13

// The 54 x 77 picture of the About box (24 bits, its bottom-left colour is not painted).
#define IDB_ABOUT_PICTURE 2

// Commands of the tray's popup menu, in menu order.
#define IDM_NEWS 100
#define IDM_ICQ 101
#define IDM_MAP 102
#define IDM_AVIA 103
#define IDM_AUTO 104
#define IDM_MONTH 105
#define IDM_TOURISM 106
#define IDM_FRC 107
#define IDM_UPDATE 108
#define IDM_INSTALL 109
#define IDM_ABOUTTRAY 110
#define IDM_EXITTRAY 111

// Controls of the preferences dialog. Each radio group's ids are contiguous.
#define IDC_PAGES 1000
#define IDC_PAGE_GENERAL 1001
#define IDC_PAGE_CONNECTION 1002
#define IDC_GROUPBOX1 1010
#define IDC_COMBOBOX1 1011
#define IDC_BUTTON4 1012
#define IDC_GROUPBOX2 1013
#define IDC_LABEL1 1014
#define IDC_RADIOBUTTON1 1015
#define IDC_RADIOBUTTON2 1016
#define IDC_GROUPBOX3 1017
#define IDC_RADIOBUTTON3 1018
#define IDC_RADIOBUTTON4 1019
#define IDC_LABEL8 1020
#define IDC_LABEL7 1021
#define IDC_COMBOBOX2 1022
#define IDC_COLORBOX1 1023
#define IDC_GROUPBOX4 1024
#define IDC_LABEL2 1025
#define IDC_RADIOBUTTON5 1026
#define IDC_RADIOBUTTON6 1027
#define IDC_RADIOBUTTON7 1028
#define IDC_CHECKBOX1 1029
#define IDC_GROUPBOX5 1030
#define IDC_RADIOBUTTON8 1031
#define IDC_RADIOBUTTON9 1032
#define IDC_RADIOBUTTON10 1033
#define IDC_LABEL3 1034
#define IDC_EDIT1 1035
#define IDC_LABEL4 1036
#define IDC_EDIT2 1037
#define IDC_LABEL5 1038
#define IDC_EDIT3 1039
#define IDC_LABEL6 1040
#define IDC_EDIT4 1041
#define IDC_BUTTON3 1042
#define IDC_BUTTON1 1 /* IDOK: Enter */
#define IDC_BUTTON2 2 /* IDCANCEL: Esc */

// Controls of the About dialog.
#define IDC_ABOUT_PANEL1 1100
#define IDC_ABOUT_IMAGE1 1101
#define IDC_ABOUT_LABEL1 1102
#define IDC_ABOUT_LABEL4 1103
#define IDC_ABOUT_LABEL2 1104
#define IDC_ABOUT_LABEL8 1105
#define IDC_ABOUT_LABEL5 1106
#define IDC_ABOUT_LABEL6 1107
#define IDC_ABOUT_LABEL7 1108
#define IDC_ABOUT_BUTTON1 1 /* IDOK: Enter; Esc closes as well */
