#pragma once
// Ids of the about box, dialog 300, shared by its resource script and code.

#define IDD_ABOUT 300
#define IDB_ABOUT 301
#define IDC_ABOUT_PICTURE 301
#define IDC_ABOUT_PRODUCT 101
#define IDC_ABOUT_VERSION 102
#define IDC_ABOUT_DEVICE_VERSION 103
#define IDC_ABOUT_MAKER_LINE1 104
#define IDC_ABOUT_MAKER_LINE2 105
#define IDC_ABOUT_CITY 106
#define IDC_ABOUT_WEB 107
