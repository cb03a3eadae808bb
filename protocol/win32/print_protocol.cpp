#include <windows.h>
#include <commdlg.h>

#include "app/program_settings.h"
#include "protocol/print_layout.h"
#include "protocol/win32/dialog_owner.h"
#include "protocol/win32/protocol_output.h"

namespace {

int MeasureOnPrinter(void* context, const char* text, int length) {
    SIZE size = {};
    GetTextExtentPoint32A(static_cast<HDC>(context), text, length, &size);
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
        TextOutA(printer, item.x, item.y, item.text.c_str(), static_cast<int>(item.text.size()));
    }

    EndPage(printer);
    EndDoc(printer);
    SelectObject(printer, previous);
    DeleteObject(font);
    DeleteDC(printer);
}
