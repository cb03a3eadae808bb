// The printed protocol: the print dialog, the page's font, and drawing what
// the portable layout computes.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "protocol/print_layout.h"
#include "protocol/protocol_issue.h"
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

// The printer the user picked, as the register names it; empty when the
// dialog did not say.
std::string PrinterName(HGLOBAL devNames) {
    if (!devNames) return std::string();
    const DEVNAMES* names = static_cast<const DEVNAMES*>(GlobalLock(devNames));
    if (!names) return std::string();
    std::string name = platform::Narrow(reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset);
    GlobalUnlock(devNames);
    return name;
}

// Every page of the protocol, each between its StartPage and EndPage; true
// when the spooler took the whole document.
bool PrintPages(HDC printer, const TestRecord& made, const ProtocolIssuer& issuer, const ProtocolNotes& notes) {
    DOCINFOW document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = L"Протокол ОРЛА-К200В";
    if (StartDocW(printer, &document) <= 0) return false;

    int width = GetDeviceCaps(printer, HORZRES);
    int height = GetDeviceCaps(printer, VERTRES);
    HFONT font = CreateFontW(ProtocolFontHeight(height), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                             L"Times New Roman Cyr");
    HGDIOBJ previous = SelectObject(printer, font);
    TextMeasure measure = {MeasureOnPrinter, printer};
    bool whole = true;
    for (const PrintedPage& page : LayoutProtocolPages(made, issuer, notes, width, height, measure)) {
        // A page started anew may come with the device's own font.
        whole &= StartPage(printer) > 0;
        SelectObject(printer, font);
        for (const PrintedText& item : page) {
            std::wstring wide = platform::Wide(item.text);
            TextOutW(printer, item.x, item.y, wide.c_str(), static_cast<int>(wide.size()));
        }
        whole &= EndPage(printer) > 0;
    }
    whole &= EndDoc(printer) > 0;
    SelectObject(printer, previous);
    DeleteObject(font);
    return whole;
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
    const std::string printerName = PrinterName(dialog.hDevNames);
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    HDC printer = dialog.hDC;
    if (!printer) return;
    static TestRecord made;  // 3416 bytes; user-interface thread only
    made = record;
    static ProtocolIssuer issuer;  // 1792 bytes; user-interface thread only
    ProtocolNotes notes;
    if (commit && !commit(&made)) {
        DeleteDC(printer);
        return;
    }
    CurrentProtocolIssuer(&issuer);
    // The register is asked of the version the commit left: the one printed.
    if (!PrepareIssue(made, issuer.onlyApproved, &notes)) {
        DeleteDC(printer);
        return;
    }
    const bool printed = PrintPages(printer, made, issuer, notes);
    DeleteDC(printer);
    if (printed) RegisterIssue(made, printerName, notes);
}
