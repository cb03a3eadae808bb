#pragma once
// Ids of the controls of the "Динамика" window (results/win32/archive_trend_window.cpp).
#define IDC_TREND_COPY 790
#define IDC_TREND_PICTURE 791
