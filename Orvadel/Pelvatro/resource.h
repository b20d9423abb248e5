// Resource ids of the station: dialog templates, their controls, strings, icon and bitmap.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_PELVATRO_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_CARD_LIST 129
#define IDD_TEST_SHEET 134
#define IDD_PAGE_DEVICE 145

#define IDM_ABOUTBOX 0x0010

// Main dialog.
#define IDC_WRITE_STATION 1045
#define IDC_TEST_STATION 1046

// Test sheet: the rectangle every page is laid into.
#define IDC_PAGE_FRAME 1050

// Every page.
#define IDC_FAIL 1052
#define IDC_PASS 1053

// EEPROM page.
#define IDC_CARD_LIST 1001
#define IDC_DEVICE_OK 1002
#define IDC_WRITE_SELECTED 1003
#define IDC_TUNER 1004
#define IDC_PRODUCT 1005
#define IDC_STATUS 1013
#define IDC_PROGRESS 1014
#define IDC_DEVICE_CANCEL 1081

// Video pages: the question pages, the check page and the TV search page.
#define IDD_PAGE_CHECK 136
#define IDD_PAGE_TV_SEARCH 137
#define IDD_PAGE_TV_AUDIO 141
#define IDD_PAGE_AV_VIDEO 142
#define IDD_PAGE_SV_VIDEO 143
#define IDD_PAGE_AV_AUDIO 144
#define IDC_VIDEO_AREA 1043
#define IDC_INFO_LIST 1051
#define IDC_SEARCH 1000
#define IDC_CHANNEL_DOWN 1054
#define IDC_CHANNEL_UP 1055
#define IDC_CHECK_PRODUCT 1013
#define IDC_CHECK_COUNTRY 1014
#define IDC_CHECK_SUPPORT 1015
#define IDC_CHECK_WRITE 1017
#define IDC_FEATURE_LIST 1047
#define IDC_INDEX_DISPLAY 1006
#define IDC_CARD_TEXT 1072
