#pragma once
// Ids of the dialog "Изменение протокола" (1300), shared by its resource script and code.
#define IDD_AMENDMENT 1300
#define IDC_AMENDMENT_LABEL 1301  // every plain label; none is ever looked up
#define IDC_AMENDMENT_CHANGES 1302
#define IDC_AMENDMENT_REASON 1303
#define IDC_AMENDMENT_PERSON 1304
