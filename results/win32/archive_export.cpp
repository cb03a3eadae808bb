// "Экспорт" of the archive viewer: the listed series as a CSV file that Excel
// opens in the user's own list separator and decimal symbol.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "common/win32/locale_text.h"
#include "results/archive_csv.h"
#include "results/win32/archive_session.h"
#include "platform/win32/wide.h"

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Written beside the chosen name first and moved over it at the end, so a
// failure never leaves a cut file where the user's old export was.
bool WriteCsv(const wchar_t* path, const TestRecord* records, const std::vector<uint32_t>& rows) {
    const std::string separator = LocaleText(LOCALE_SLIST, ";");
    const std::string decimal = LocaleText(LOCALE_SDECIMAL, ",");
    const CsvFormat format{separator.c_str(), decimal.c_str()};
    const std::wstring temporary = std::wstring(path) + L".part";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string chunk = kCsvByteOrderMark + ArchiveCsvHeader(format);
    bool ok = true;
    for (size_t i = 0; ok && i < rows.size(); ++i) {
        chunk += ArchiveCsvRow(records[rows[i]], format);
        if (chunk.size() >= (1u << 20)) {
            ok = WriteAll(file, chunk);
            chunk.clear();
        }
    }
    ok = ok && WriteAll(file, chunk);
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

}  // namespace

void ExportArchiveRows(HWND viewer, const TestRecord* records, const std::vector<uint32_t>& rows) {
    wchar_t fileName[MAX_PATH] = L"Результаты испытаний.csv";
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = viewer;
    dialog.lpstrFilter = L"Файл CSV (*.csv)\0*.csv\0";
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"csv";
    // The working directory is the data folder (the archive is addressed by
    // bare name), so the dialog must not move it.
    dialog.Flags = OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameW(&dialog)) return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool written = WriteCsv(fileName, records, rows);
    SetCursor(previous);
    if (!written) platform::MessageBox1251(viewer, "Ошибка сохранения файла.", "Ошибка!", MB_OK | MB_ICONERROR);
}
