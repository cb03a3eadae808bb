#pragma once
// Ids of the main window's controls, menu items and accelerator commands.
// Resource and command ids of the main window, shared by the resource script
// and the code. Plain defines so that windres can read them too.

#define IDD_MAIN 100
#define IDM_MAIN 200
#define IDA_MAIN 200
#define IDI_SMALL 90
#define IDI_MAIN 91

#define IDC_GROUP_PROTOCOL 101
#define IDC_GROUP_TESTER 124
#define IDC_GROUP_PARAMETERS 127
#define IDC_FIRST_FIELD 140
#define IDC_LAST_FIELD 152
#define IDC_SAMPLE_DATE 144
#define IDC_TEST_DATE 150
#define IDC_VALUE_COUNT 133
#define IDC_VALUE_PAUSE 134
#define IDC_VALUE_DELAY 135
#define IDC_VALUE_RATE 136
#define IDC_VALUE_MAXIMUM 137
#define IDC_VALUE_METHOD 138
#define IDC_START 170
#define IDC_STOP 171
#define IDC_PRINT 172
#define IDC_PICTURE 173
#define IDC_NORM_LABEL 174
#define IDC_NORM_CHOICE 175
#define IDC_VERDICT 176
// The quiet line of series not yet in the laboratory database, with its error tip.
#define IDC_DATABASE_STATE 177
// In the same place, while a finished series waits for the archive; a click tries again.
#define IDC_ARCHIVE_STATE 178
#define IDC_PROGONKA 650

#define CMD_NEXT_FIELD 80
#define CMD_SPACE 81
#define CMD_PREVIOUS_FIELD 82
#define CMD_SAVE_PROTOCOL 201
#define CMD_ARCHIVE 204
#define CMD_EXIT 205
#define CMD_DEVICE_SETTINGS 206
#define CMD_PROGRAM_SETTINGS 207
#define CMD_ABOUT 209
#define CMD_DEVICE_RESULTS 210
#define CMD_NORMS 211
#define CMD_OPEN_ARCHIVE 212
#define CMD_JOURNAL 213
