#pragma once
// Ids of the "Нормы испытаний" dialog 1100, shared by its resource script
// and code. Plain defines for windres.

#define IDD_NORMS 1100
#define IDC_NORMS_LABEL 1101  // every plain label; none is ever looked up

#define IDC_NORMS_GROUP 1110
#define IDC_NORMS_LIST 1111
#define IDC_NORM_NAME 1112
#define IDC_NORM_METHOD 1113
#define IDC_NORM_MINIMUM 1114
#define IDC_NORM_GOOD 1115
#define IDC_NORM_ADD 1116
#define IDC_NORM_CHANGE 1117
#define IDC_NORM_REMOVE 1118

#define IDC_METHODS_GROUP 1130
#define IDC_METHODS_LIST 1131
#define IDC_METHOD_NAME 1132
#define IDC_METHOD_BREAKDOWNS 1133
#define IDC_METHOD_RATE 1134
#define IDC_METHOD_DELAY 1135
#define IDC_METHOD_PAUSE 1136
#define IDC_METHOD_DISPERSION 1137
#define IDC_METHOD_PERCENT 1138
#define IDC_METHOD_ADD 1139
#define IDC_METHOD_CHANGE 1140
#define IDC_METHOD_REMOVE 1141
