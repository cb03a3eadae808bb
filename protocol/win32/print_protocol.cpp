// The printed protocol: the print dialog, the page's font, and drawing what
// the portable layout computes.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "app/program_settings.h"
#include "protocol/print_layout.h"
#include "protocol/win32/dialog_owner.h"
#include "protocol/win32/protocol_output.h"

namespace {

// The texts are Windows-1251 whatever the font's character set: a printer
// font chosen in the Western set would turn Cyrillic bytes into Latin
// letters, so they are measured and drawn as Unicode.
constexpr UINT kTextCodePage = 1251;

std::wstring Wide(const char* text, int length) {
    if (length <= 0) return std::wstring();
    int n = MultiByteToWideChar(kTextCodePage, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(kTextCodePage, 0, text, length, &wide[0], n);
    return wide;
}

int MeasureOnPrinter(void* context, const char* text, int length) {
    std::wstring wide = Wide(text, length);
    SIZE size = {};
    GetTextExtentPoint32W(static_cast<HDC>(context), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

}  // namespace

void PrintProtocol(const TestRecord& record) {
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ProtocolDialogOwner(ui::Window::Main);
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nFromPage = 0xFFFF;
    dialog.nToPage = 0xFFFF;
    dialog.nMinPage = 1;
    dialog.nMaxPage = 0xFFFF;
    dialog.nCopies = 1;
    if (!PrintDlgA(&dialog)) return;
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    HDC printer = dialog.hDC;
    if (!printer) return;

    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = "Протокол ОРЛА-К200В";
    StartDocA(printer, &document);
    StartPage(printer);

    int width = GetDeviceCaps(printer, HORZRES);
    int height = GetDeviceCaps(printer, VERTRES);
    HFONT font = CreateFontA(ProtocolFontHeight(height), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                             "Times New Roman Cyr");
    HGDIOBJ previous = SelectObject(printer, font);

    TextMeasure measure = {MeasureOnPrinter, printer};
    for (const PrintedText& item : LayoutProtocol(record, g_programSettings, width, height, measure)) {
        std::wstring wide = Wide(item.text.c_str(), static_cast<int>(item.text.size()));
        TextOutW(printer, item.x, item.y, wide.c_str(), static_cast<int>(wide.size()));
    }

    EndPage(printer);
    EndDoc(printer);
    SelectObject(printer, previous);
    DeleteObject(font);
    DeleteDC(printer);
}
