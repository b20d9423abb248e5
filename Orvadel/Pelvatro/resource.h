// Resource ids of the station: dialog templates, their controls, strings, icon and bitmap.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_PELVATRO_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_CARD_LIST 129
#define IDD_TEST_SHEET 134
#define IDD_PAGE_DEVICE 145
#define IDB_REMOTE 137
#define IDD_PAGE_ERROR 138
#define IDD_PAGE_SHUTDOWN 139
#define IDD_PAGE_REMOTE 140
#define IDD_PAGE_RECORD 147

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

// Remote page: the time left, the four key labels (NUM, Rec, Up, Full) and the last key code.
#define IDC_TIME_LEFT 1060
#define IDC_KEY_NUM 1063
#define IDC_KEY_REC 1064
#define IDC_KEY_UP 1065
#define IDC_KEY_FULL 1066
#define IDC_KEY_CODE 1067

// Result page: the failure display, the action label and the pass display.
#define IDC_RESULT_FAIL 1070
#define IDC_RESULT_ACTION 1071
#define IDC_RESULT_PASS 1072

// Shutdown page.
#define IDC_SHUTDOWN_LIST 1055
#define IDC_SHUTDOWN_TEXT 1007

// Record page: the progress text.
#define IDC_RECORD_PROGRESS 1080

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
