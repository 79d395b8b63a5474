#include "store/SqliteConnection.h"

#include "store/SqliteStatement.h"

#include <sqlite3.h>

namespace qn {

SqliteConnection::SqliteConnection(const QString& path, Mode mode, int busyTimeoutMs)
{
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    m_openResult = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (m_db) {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, busyTimeoutMs);
    }
}

SqliteConnection::~SqliteConnection() { sqlite3_close_v2(m_db); }

int SqliteConnection::Execute(const char* sql)
{
    SqliteStatement statement(m_db, sql);
    if (statement.prepareResult() != SQLITE_OK)
        return statement.prepareResult();
    int result = SQLITE_ROW;
    while ((result = statement.step()) == SQLITE_ROW) {
    }
    return result;
}

QString SqliteConnection::QueryText(const char* sql, int* result)
{
    SqliteStatement statement(m_db, sql);
    const int step = statement.prepareResult() == SQLITE_OK ? statement.step() : statement.prepareResult();
    if (result)
        *result = step == SQLITE_ROW ? SQLITE_OK : step;
    return step == SQLITE_ROW ? statement.text(0) : QString();
}

}  // namespace qn
