#pragma once
// Ids of the archive viewer (dialog 700) and its details pane (dialog 704),
// shared by their resource script and code. The pane shows a record with
// the main window's field and parameter ids (app/resource_ids.h).
#define IDD_ARCHIVE_VIEWER 700
#define IDC_ARCHIVE_LIST 701
#define IDC_ARCHIVE_PRINT 172
#define IDC_ARCHIVE_SAVE 176
#define IDC_ARCHIVE_CLEAR 703
#define IDC_ARCHIVE_OPEN 713  // "Открыть архив…"
// Finding rows: the text, its label and the date range with its labels.
#define IDC_ARCHIVE_FIND 705
#define IDC_ARCHIVE_FIND_LABEL 706
#define IDC_ARCHIVE_FROM 707
#define IDC_ARCHIVE_FROM_LABEL 708
#define IDC_ARCHIVE_TO 709
#define IDC_ARCHIVE_TO_LABEL 710
// In the details pane; the pane hands their clicks to the viewer.
#define IDC_ARCHIVE_EXPORT 711
#define IDC_ARCHIVE_TREND 712
// "Утвердить" and the line saying who approved the version shown.
#define IDC_ARCHIVE_APPROVE 714
#define IDC_DETAILS_APPROVAL 729
#define IDD_ARCHIVE_DETAILS 704
#define IDC_DETAILS_VOLTAGES 722
#define IDC_DETAILS_MEAN 723
#define IDC_DETAILS_RMS_ERROR 724
#define IDC_DETAILS_VARIATION 725
#define IDC_DETAILS_CONCLUSION 726
// Which version of the series the pane shows, and its label.
#define IDC_DETAILS_VERSION 727
#define IDC_DETAILS_VERSION_LABEL 728
// Who amended the version shown and why, beside "Версия".
#define IDC_DETAILS_AMENDED 731
#define IDC_DETAILS_LABEL 730
#define IDC_DETAILS_RESULTS_GROUP 740
#define IDC_DETAILS_PARAMETERS_GROUP 127
#define IDC_DETAILS_STATISTICS_LABEL 128
