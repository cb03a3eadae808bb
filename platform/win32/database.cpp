// The database seam on odbc32's wide functions: texts go to the driver as UTF-16.
// Only the plain and the ...W entry points: Wine's odbc32 lacks the ...A ones.
#include "platform/database.h"

#include <windows.h>
#include <sql.h>
#include <sqlext.h>

#include "platform/win32/wide.h"

namespace platform {
namespace db {
namespace {

struct Link {
    SQLHDBC dbc = SQL_NULL_HDBC;
    std::string lastError;
};

SQLHENV Environment() {
    static SQLHENV env = [] {
        SQLHENV e = SQL_NULL_HENV;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &e))) return SQLHENV(SQL_NULL_HENV);
        SQLSetEnvAttr(e, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return e;
    }();
    return env;
}

Link* Of(Connection c) { return reinterpret_cast<Link*>(c); }

SQLWCHAR* Sql(std::wstring& text) { return reinterpret_cast<SQLWCHAR*>(&text[0]); }

// Every diagnostic record of the handle, as the driver worded them.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string out;
    SQLWCHAR state[6] = {}, text[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; i < 10; ++i) {
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, i, state, &native, text, 1024, &length))) break;
        if (!out.empty()) out += "\n";
        out += Narrow(reinterpret_cast<const wchar_t*>(text));
    }
    return out.empty() ? std::string("нет ответа драйвера ODBC") : out;
}

bool Check(Link* link, SQLRETURN r, SQLSMALLINT type, SQLHANDLE handle) {
    if (SQL_SUCCEEDED(r) || r == SQL_NO_DATA) return true;
    link->lastError = Diagnostics(type, handle);
    return false;
}

// One statement handle for the length of a call.
struct Statement {
    explicit Statement(Link* link) : link(link) {
        if (!Check(link, SQLAllocHandle(SQL_HANDLE_STMT, link->dbc, &handle), SQL_HANDLE_DBC, link->dbc))
            handle = SQL_NULL_HSTMT;
    }
    ~Statement() {
        if (handle != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, handle);
    }
    bool Ok(SQLRETURN r) { return Check(link, r, SQL_HANDLE_STMT, handle); }
    Link* link;
    SQLHSTMT handle = SQL_NULL_HSTMT;
};

// The bound form of one value; it must stay put until the statement has run.
struct Bound {
    std::wstring text;
    SQLINTEGER integer = 0;
    SQLCHAR flag = 0;
    double decimal = 0;
    SQL_TIMESTAMP_STRUCT time = {};
    SQLLEN indicator = 0;
};

SQL_TIMESTAMP_STRUCT Timestamp(const SystemTime& t) {
    SQL_TIMESTAMP_STRUCT s = {};
    s.year = static_cast<SQLSMALLINT>(t.wYear);
    s.month = t.wMonth;
    s.day = t.wDay;
    s.hour = t.wHour;
    s.minute = t.wMinute;
    s.second = t.wSecond;
    s.fraction = static_cast<SQLUINTEGER>(t.wMilliseconds) * 1000000u;
    return s;
}

SQLRETURN BindOne(SQLHSTMT stmt, SQLUSMALLINT n, const Value& v, Bound& b) {
    b.indicator = v.null ? SQL_NULL_DATA : 0;
    switch (v.kind) {
        case Value::Kind::Integer:
            b.integer = static_cast<SQLINTEGER>(v.integer);
            return SQLBindParameter(stmt, n, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &b.integer, 0, &b.indicator);
        case Value::Kind::Decimal:
            b.decimal = static_cast<double>(v.integer) / 10.0;
            return SQLBindParameter(stmt, n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &b.decimal, 0, &b.indicator);
        case Value::Kind::Boolean:
            b.flag = v.integer ? 1 : 0;
            return SQLBindParameter(stmt, n, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 1, 0, &b.flag, 0, &b.indicator);
        case Value::Kind::Timestamp:
            b.time = Timestamp(v.time);
            return SQLBindParameter(stmt, n, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3, &b.time,
                                    0, &b.indicator);
        case Value::Kind::Text: break;
    }
    b.text = platform::WideFromUtf8(v.text);
    if (!v.null) b.indicator = static_cast<SQLLEN>(b.text.size() * sizeof(wchar_t));
    b.text.push_back(L'\0');
    const SQLULEN size = b.text.size() > 1 ? b.text.size() - 1 : 1;
    return SQLBindParameter(stmt, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, size, 0, &b.text[0],
                            static_cast<SQLLEN>(b.text.size() * sizeof(wchar_t)), &b.indicator);
}

bool BindAll(Statement& s, const std::vector<Value>& values, std::vector<Bound>& bound) {
    bound.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        if (!s.Ok(BindOne(s.handle, static_cast<SQLUSMALLINT>(i + 1), values[i], bound[i]))) return false;
    return true;
}

bool EndTransaction(Connection c, SQLSMALLINT how) {
    Link* link = Of(c);
    if (!link) return false;
    bool ok = Check(link, SQLEndTran(SQL_HANDLE_DBC, link->dbc, how), SQL_HANDLE_DBC, link->dbc);
    SQLSetConnectAttrW(link->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    return ok;
}

}  // namespace

Connection Connect(const std::string& connectionString, uint32_t timeoutSeconds, std::string* error) {
    SQLHENV env = Environment();
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (env == SQL_NULL_HENV || !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        *error = "драйвер ODBC недоступен";
        return kNoConnection;
    }
    SQLSetConnectAttrW(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(timeoutSeconds)), 0);
    std::wstring text = platform::WideFromUtf8(connectionString);
    text.push_back(L'\0');
    SQLWCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    SQLRETURN r = SQLDriverConnectW(dbc, nullptr, Sql(text), SQL_NTS, completed, 1024, &completedLength,
                                    SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(r)) {
        *error = Diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        return kNoConnection;
    }
    error->clear();
    auto* link = new Link;
    link->dbc = dbc;
    return reinterpret_cast<Connection>(link);
}

void Disconnect(Connection c) {
    Link* link = Of(c);
    if (!link) return;
    SQLDisconnect(link->dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, link->dbc);
    delete link;
}

std::string GetInfo(Connection c, Info item) {
    Link* link = Of(c);
    if (!link) return std::string();
    const SQLUSMALLINT code = item == Info::DbmsName      ? SQL_DBMS_NAME
                              : item == Info::DbmsVersion ? SQL_DBMS_VER
                              : item == Info::ServerName  ? SQL_SERVER_NAME
                                                          : SQL_DATABASE_NAME;
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(link->dbc, code, text, sizeof text, &length))) return std::string();
    return Narrow(reinterpret_cast<const wchar_t*>(text));
}

bool Execute(Connection c, const std::string& sql) {
    Link* link = Of(c);
    if (!link) return false;
    Statement s(link);
    std::wstring text = platform::WideFromUtf8(sql);
    text.push_back(L'\0');
    return s.handle != SQL_NULL_HSTMT && s.Ok(SQLExecDirectW(s.handle, Sql(text), SQL_NTS));
}

bool TableExists(Connection c, const std::string& table) {
    return Execute(c, "SELECT 1 FROM " + table + " WHERE 1 = 0");
}

bool QueryScalar(Connection c, const std::string& sql, const std::vector<Value>& parameters, std::string* result) {
    Link* link = Of(c);
    if (!link) return false;
    Statement s(link);
    std::vector<Bound> bound;
    std::wstring text = platform::WideFromUtf8(sql);
    text.push_back(L'\0');
    if (s.handle == SQL_NULL_HSTMT || !BindAll(s, parameters, bound) ||
        !s.Ok(SQLExecDirectW(s.handle, Sql(text), SQL_NTS)))
        return false;
    SQLRETURN fetched = SQLFetch(s.handle);
    if (fetched == SQL_NO_DATA || !s.Ok(fetched)) return false;
    wchar_t value[256] = {};
    SQLLEN got = 0;
    if (!s.Ok(SQLGetData(s.handle, 1, SQL_C_WCHAR, value, sizeof value, &got))) return false;
    *result = got == SQL_NULL_DATA ? std::string() : Narrow(value);
    return true;
}

bool Begin(Connection c) {
    Link* link = Of(c);
    return link && Check(link,
                         SQLSetConnectAttrW(link->dbc, SQL_ATTR_AUTOCOMMIT,
                                            reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
                         SQL_HANDLE_DBC, link->dbc);
}

bool Commit(Connection c) { return EndTransaction(c, SQL_COMMIT); }
bool Rollback(Connection c) { return EndTransaction(c, SQL_ROLLBACK); }

bool ExecuteBatch(Connection c, const std::string& sql, const std::vector<std::vector<Value>>& rows) {
    Link* link = Of(c);
    if (!link) return false;
    Statement s(link);
    std::wstring text = platform::WideFromUtf8(sql);
    text.push_back(L'\0');
    if (s.handle == SQL_NULL_HSTMT || !s.Ok(SQLPrepareW(s.handle, Sql(text), SQL_NTS))) return false;
    std::vector<Bound> bound;
    for (const std::vector<Value>& row : rows)
        if (!BindAll(s, row, bound) || !s.Ok(SQLExecute(s.handle))) return false;
    return true;
}

std::string LastError(Connection c) {
    Link* link = Of(c);
    return link ? link->lastError : std::string();
}

}  // namespace db
}  // namespace platform
