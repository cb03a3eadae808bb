// "Экспорт" of the archive viewer: the listed series as a CSV file that Excel
// opens in the user's own list separator and decimal symbol.
#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/file_dialog.h"
#include "common/win32/locale_text.h"
#include "common/win32/replacing_file.h"
#include "results/archive_csv.h"
#include "results/win32/archive_session.h"
#include "platform/win32/wide.h"

namespace {

// Written beside the chosen name first and moved over it at the end, so a
// failure never leaves a cut file where the user's old export was.
bool WriteCsv(const wchar_t* path, const TestRecord* records, const std::vector<uint32_t>& rows) {
    const std::string separator = LocaleText(LOCALE_SLIST, ";");
    const std::string decimal = LocaleText(LOCALE_SDECIMAL, ",");
    const CsvFormat format{separator.c_str(), decimal.c_str()};
    ReplacingFile file(path);
    std::string chunk = kCsvByteOrderMark + ArchiveCsvHeader(format);
    bool ok = true;
    for (size_t i = 0; ok && i < rows.size(); ++i) {
        chunk += ArchiveCsvRow(records[rows[i]], format);
        if (chunk.size() >= (1u << 20)) {
            ok = file.Write(chunk);
            chunk.clear();
        }
    }
    return ok && file.Write(chunk) && file.Commit();
}

}  // namespace

void ExportArchiveRows(HWND viewer, const TestRecord* records, const std::vector<uint32_t>& rows) {
    wchar_t fileName[MAX_PATH] = L"Результаты испытаний.csv";
    const FileDialogRequest request{viewer, L"Файл CSV (*.csv)\0*.csv\0", fileName, L"csv", nullptr,
                                    OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST};
    if (!AskFileToSave(request)) return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool written = WriteCsv(fileName, records, rows);
    SetCursor(previous);
    if (!written) platform::MessageBox1251(viewer, "Ошибка сохранения файла.", "Ошибка!", MB_OK | MB_ICONERROR);
}
