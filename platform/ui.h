// The window operations the portable core may ask for, by logical window and control id.
#pragma once
#include <cstdint>

// Window operations the portable core needs, addressed as the windows
// themselves address them: a logical window and a control id. In the product
// each call is a synchronous message to a window of the user-interface thread
// (WM_SETTEXT, EnableWindow, EnableMenuItem, MessageBoxW, ...). Texts are
// Windows-1251 on both sides of the seam, whatever the system's code page.
namespace ui {

enum class Window : int {
    None = 0,        // ownerless message boxes
    Main,            // main dialog 100
    ServiceView,     // dialog 600
    ArchiveViewer,   // dialog 700
    ArchiveDetails,  // pane 704 of the archive viewer
    DeviceResults,   // dialog 800
    LogViewer,       // dialog 900
};

constexpr int kStatusBar = 0;  // the main window's status bar has control id 0

// Message box styles and answers, with the Win32 values.
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr unsigned kDefaultSecond = 0x100;  // the second button ("Нет") is the default
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

bool Exists(Window window);
void SetText(Window window, int id, const char* text);
// Copies at most size - 1 characters; returns the length copied.
int GetText(Window window, int id, char* buffer, int size);
void Enable(Window window, int id, bool enabled);
// Enabled, or disabled and grayed.
void EnableMenuItem(Window window, int id, bool enabled);
void InsertMenuItemBefore(Window window, int beforeId, int newId, const char* text);
void SetCheck(Window window, int id, bool checked);
void SetCaption(Window window, const char* text);
// Gives a control a tooltip that shows text while the mouse rests on it;
// made once by the user-interface thread, set from any thread. An empty
// text shows no tip.
void AttachToolTip(Window window, int id);
void SetToolTip(Window window, int id, const char* text);
// The window's outer rectangle in screen pixels (GetWindowRect).
bool GetWindowRect(Window window, int* left, int* top, int* right, int* bottom);
void SendClose(Window window);
// WM_CLOSE to one control of the window (a progress bar closes itself).
void CloseControl(Window window, int id);
// Shows or hides one control (a list hidden while it is filled).
void ShowControl(Window window, int id, bool shown);
int MessageBox(Window owner, const char* text, const char* caption, unsigned style);
// The same box, shown by the user-interface thread while the caller goes on;
// for a worker that must not stop while the user reads it. Owned by the owner
// if it still exists when the box opens, else by the main window. No answer.
void PostMessageBox(Window owner, const char* text, const char* caption, unsigned style);

// List views: rows are added at the end; cells are the column texts.
void ListClear(Window window, int id);
int ListAddRow(Window window, int id, const char* const* cells, int cellCount);
int ListRowCount(Window window, int id);
void ListSelectRow(Window window, int id, int row);
// Scrolls the list to its last row without selecting anything.
void ListScrollToEnd(Window window, int id);

void SetProgress(Window window, int id, int position, int maximum);

// Drop-down lists: the items replace the old ones, then item selected is
// selected (-1 for none). ComboSelection is the selected item or -1.
void ComboSetItems(Window window, int id, const char* const* items, int count, int selected);
void ComboSelect(Window window, int id, int item);
int ComboSelection(Window window, int id);

}  // namespace ui
