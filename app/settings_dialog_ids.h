#pragma once
// Ids of the device settings dialog 400 and the program settings dialog 500,
// shared by their resource script and code. Plain defines for windres.

#define IDD_DEVICE_SETTINGS 400
#define IDC_LABEL_COUNT 101
#define IDC_LABEL_PAUSE 102
#define IDC_LABEL_DELAY 103
#define IDC_LABEL_RATE 104
#define IDC_LABEL_MAXIMUM 105
#define IDC_LABEL_SOUND 106
#define IDC_LABEL_METHOD 107
// The six lists, in the order of DeviceSettingsList.
#define IDC_LIST_COUNT 510
#define IDC_LIST_PAUSE 511
#define IDC_LIST_DELAY 512
#define IDC_LIST_RATE 513
#define IDC_LIST_MAXIMUM 514
#define IDC_LIST_SOUND 515
// Above the six: choosing a method sets four of them.
#define IDC_LIST_METHOD 516

#define IDD_PROGRAM_SETTINGS 500
#define IDC_LABEL_ORGANISATION 101
#define IDC_ORGANISATION 102
#define IDC_LABEL_SERIAL 103
#define IDC_LABEL_DIREKTOR 104
#define IDC_LABEL_DIREKTOR_NAME 105
#define IDC_SERIAL 106
#define IDC_DIREKTOR 107
#define IDC_DIREKTOR_NAME 108
// The laboratory database: the connection string and the button that tries it.
#define IDC_LABEL_DATABASE 109
#define IDC_DATABASE 110
#define IDC_DATABASE_CHECK 111
// "Выдавать протоколы только после утверждения".
#define IDC_ONLY_APPROVED 112
