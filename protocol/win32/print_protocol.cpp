// The printed protocol: the print dialog, the page's font, and drawing what
// the portable layout computes.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "protocol/print_layout.h"
#include "protocol/protocol_issuer.h"
#include "protocol/win32/dialog_owner.h"
#include "protocol/win32/protocol_output.h"
#include "platform/win32/wide.h"

namespace {

// The texts are Windows-1251 whatever the font's character set: a printer
// font chosen in the Western set would turn Cyrillic bytes into Latin
// letters, so they are measured and drawn as Unicode.
int MeasureOnPrinter(void* context, const char* text, int length) {
    std::wstring wide = platform::Wide(text, length);
    SIZE size = {};
    GetTextExtentPoint32W(static_cast<HDC>(context), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

}  // namespace

void PrintProtocol(const TestRecord& record, const ProtocolCommit& commit) {
    PRINTDLGW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ProtocolDialogOwner();
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nFromPage = 0xFFFF;
    dialog.nToPage = 0xFFFF;
    dialog.nMinPage = 1;
    dialog.nMaxPage = 0xFFFF;
    dialog.nCopies = 1;
    if (!PrintDlgW(&dialog)) return;
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    HDC printer = dialog.hDC;
    if (!printer) return;
    static TestRecord made;  // 3416 bytes; user-interface thread only
    made = record;
    if (commit && !commit(&made)) {
        DeleteDC(printer);
        return;
    }

    DOCINFOW document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = L"Протокол ОРЛА-К200В";
    StartDocW(printer, &document);
    StartPage(printer);

    int width = GetDeviceCaps(printer, HORZRES);
    int height = GetDeviceCaps(printer, VERTRES);
    HFONT font = CreateFontW(ProtocolFontHeight(height), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                             L"Times New Roman Cyr");
    HGDIOBJ previous = SelectObject(printer, font);

    TextMeasure measure = {MeasureOnPrinter, printer};
    static ProtocolIssuer issuer;  // 1792 bytes; user-interface thread only
    CurrentProtocolIssuer(&issuer);
    for (const PrintedText& item : LayoutProtocol(made, issuer, width, height, measure)) {
        std::wstring wide = platform::Wide(item.text);
        TextOutW(printer, item.x, item.y, wide.c_str(), static_cast<int>(wide.size()));
    }

    EndPage(printer);
    EndDoc(printer);
    SelectObject(printer, previous);
    DeleteObject(font);
    DeleteDC(printer);
}
