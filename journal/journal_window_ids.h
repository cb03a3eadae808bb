#pragma once
// Ids of the window "Журнал протоколов" (dialog 1200), shared by its resource script and code.
#define IDD_JOURNAL 1200
#define IDC_JOURNAL_LIST 1201
#define IDC_JOURNAL_FIND_LABEL 1202
#define IDC_JOURNAL_FIND 1203
#define IDC_JOURNAL_EXPORT 1204
// "Журнал цел: N записей", or the first line that fails, or that there is no register.
#define IDC_JOURNAL_VERDICT 1205
