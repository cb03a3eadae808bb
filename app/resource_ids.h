#pragma once
// Ids of the main window's controls, menu items and accelerator commands.
// Resource and command ids of the main window, shared by the resource script
// and the code. Plain defines so that windres can read them too.

#include "results/shell_ids.h"

#define IDD_MAIN 100
#define IDM_MAIN 200
#define IDA_MAIN 200

// The controls the lower rooms fill keep their ids with them.
#include "common/form_ids.h"
#include "verdict/verdict_ids.h"
#include "database/database_ids.h"
#include "picture/picture_ids.h"

#define IDC_GROUP_PROTOCOL 101
#define IDC_GROUP_TESTER 124
#define IDC_SAMPLE_DATE 144
#define IDC_TEST_DATE 150
#include "results/test_parameter_ids.h"
#define IDC_START 170
#define IDC_STOP 171
#define IDC_PRINT 172
#define IDC_NORM_LABEL 174
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
