// Runs one SQL statement through ODBC's wide API, to prove the database bridge the program uses.
// Usage: odbc_probe.exe "<connection string>" "<sql>" [parameter...]
// Each parameter is bound to the next "?" of the statement as UTF-16 text
// (SQL_C_WCHAR). Result rows are printed as UTF-8, columns joined by "|",
// NULL as an empty column. On failure the driver's own diagnostics follow
// "odbc_probe: <step> failed:", one "[SQLSTATE] text" a line, exit code 1.
// Only the plain and the ...W entry points: Wine 8's odbc32 has no ...A ones.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

std::string Utf8(const wchar_t* w, size_t length) {
    if (length == 0) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w, int(length), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, int(length), &s[0], n, nullptr, nullptr);
    return s;
}

void Print(const std::string& s) { std::fwrite(s.data(), 1, s.size(), stdout); }

SQLWCHAR* Sql(const wchar_t* w) { return reinterpret_cast<SQLWCHAR*>(const_cast<wchar_t*>(w)); }

// Every diagnostic record of the handle, as the driver worded it.
int Fail(const char* step, SQLSMALLINT type, SQLHANDLE handle) {
    Print(std::string("odbc_probe: ") + step + " failed:\n");
    SQLWCHAR state[6];
    SQLWCHAR text[2048];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1;
         SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, i, state, &native, text, 2048, &length)); ++i) {
        const wchar_t* t = reinterpret_cast<const wchar_t*>(text);
        size_t n = std::wcslen(t);
        while (n > 0 && (t[n - 1] == L'\n' || t[n - 1] == L'\r' || t[n - 1] == L' ')) --n;  // libpq ends with "\n"
        Print("[" + Utf8(reinterpret_cast<const wchar_t*>(state), 5) + "] " + Utf8(t, n) + "\n");
    }
    return 1;
}

// A column's whole text, read in pieces as long texts need.
bool ColumnText(SQLHSTMT stmt, SQLUSMALLINT column, std::string* out) {
    std::wstring text;
    wchar_t piece[512];
    for (;;) {
        SQLLEN got = 0;
        SQLRETURN r = SQLGetData(stmt, column, SQL_C_WCHAR, piece, sizeof piece, &got);
        if (r == SQL_NO_DATA || (SQL_SUCCEEDED(r) && got == SQL_NULL_DATA)) break;
        if (!SQL_SUCCEEDED(r)) return false;
        const SQLLEN room = SQLLEN(sizeof piece / sizeof piece[0]) - 1;
        text.append(piece, (got == SQL_NO_TOTAL || got / 2 > room) ? room : got / 2);
        if (r == SQL_SUCCESS) break;
    }
    *out = Utf8(text.c_str(), text.size());
    return true;
}

int PrintRows(SQLHSTMT stmt) {
    SQLSMALLINT columns = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt, &columns))) return Fail("SQLNumResultCols", SQL_HANDLE_STMT, stmt);
    SQLRETURN r;
    while (columns > 0 && SQL_SUCCEEDED(r = SQLFetch(stmt))) {
        std::string row, cell;
        for (SQLSMALLINT c = 1; c <= columns; ++c) {
            if (!ColumnText(stmt, SQLUSMALLINT(c), &cell)) return Fail("SQLGetData", SQL_HANDLE_STMT, stmt);
            row += (c > 1 ? "|" : "") + cell;
        }
        Print(row + "\n");
    }
    return 0;
}

// Binds the texts to the statement's markers; they must outlive the execution.
int BindTexts(SQLHSTMT stmt, std::vector<std::wstring>& texts, std::vector<SQLLEN>& lengths) {
    for (size_t i = 0; i < texts.size(); ++i) {
        lengths[i] = SQLLEN(texts[i].size() * sizeof(wchar_t));
        SQLRETURN r = SQLBindParameter(stmt, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                       texts[i].size() + 1, 0, &texts[i][0], lengths[i] + 2, &lengths[i]);
        if (!SQL_SUCCEEDED(r)) return Fail("SQLBindParameter", SQL_HANDLE_STMT, stmt);
    }
    return 0;
}

int Run(SQLHDBC dbc, const wchar_t* sql, std::vector<std::wstring> texts) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt))) return Fail("SQLAllocHandle", SQL_HANDLE_DBC, dbc);
    std::vector<SQLLEN> lengths(texts.size());
    int rc = BindTexts(stmt, texts, lengths);
    if (rc == 0) {
        SQLRETURN r = SQLExecDirectW(stmt, Sql(sql), SQL_NTS);
        rc = (SQL_SUCCEEDED(r) || r == SQL_NO_DATA) ? PrintRows(stmt) : Fail("SQLExecDirectW", SQL_HANDLE_STMT, stmt);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return rc;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // "\n" only, as the host-side tools print
    if (argc < 3) {
        Print("usage: odbc_probe.exe \"<connection string>\" \"<sql>\" [parameter...]\n");
        return kUsageError;
    }
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) return Fail("SQLAllocHandle", SQL_HANDLE_ENV, env);
    SQLWCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    SQLRETURN r = SQLDriverConnectW(dbc, nullptr, Sql(argv[1]), SQL_NTS, completed, 1024, &completedLength,
                                    SQL_DRIVER_NOPROMPT);
    int rc = SQL_SUCCEEDED(r) ? Run(dbc, argv[2], std::vector<std::wstring>(argv + 3, argv + argc))
                              : Fail("SQLDriverConnectW", SQL_HANDLE_DBC, dbc);
    if (SQL_SUCCEEDED(r)) SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    std::fflush(stdout);
    return rc;
}
