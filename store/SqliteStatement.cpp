#include "store/SqliteStatement.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace qn {

sqlite3* SqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : m_db(db)
{
    if (!db) {
        m_prepareResult = SQLITE_MISUSE;
        return;
    }
    m_prepareResult = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                         &m_statement, nullptr);
    if (m_prepareResult == SQLITE_OK && !m_statement)
        m_prepareResult = SQLITE_MISUSE;  // the text held no statement
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_statement); }

bool SqliteStatement::bind(int index, std::string_view text)
{
    return m_statement
        && sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT)
        == SQLITE_OK;
}

bool SqliteStatement::bind(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return bind(index, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

bool SqliteStatement::bindBlob(int index, const QByteArray& bytes)
{
    // A zero-length blob still binds as a blob, not as NULL.
    return m_statement
        && sqlite3_bind_blob(m_statement, index, bytes.isEmpty() ? "" : bytes.constData(),
                             static_cast<int>(bytes.size()), SQLITE_TRANSIENT)
        == SQLITE_OK;
}

bool SqliteStatement::bindInt64(int index, long long value)
{
    return m_statement && sqlite3_bind_int64(m_statement, index, value) == SQLITE_OK;
}

int SqliteStatement::step()
{
    if (!m_statement)
        return m_prepareResult == SQLITE_OK ? SQLITE_MISUSE : m_prepareResult;
    const int result = sqlite3_step(m_statement);
    // The extended code tells a full disk from other I/O errors.
    return result == SQLITE_ROW || result == SQLITE_DONE ? result : sqlite3_extended_errcode(m_db);
}

void SqliteStatement::reset()
{
    if (!m_statement)
        return;
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

int SqliteStatement::columnIndex(std::string_view name) const
{
    if (!m_statement)
        return -1;
    const int count = sqlite3_column_count(m_statement);
    for (int i = 0; i < count; ++i) {
        const char* column = sqlite3_column_name(m_statement, i);
        if (column && std::string_view(column).size() == name.size()
            && sqlite3_strnicmp(column, name.data(), static_cast<int>(name.size())) == 0)
            return i;
    }
    return -1;
}

bool SqliteStatement::isNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }

QByteArray SqliteStatement::bytes(int column) const
{
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return data && size > 0 ? QByteArray(static_cast<const char*>(data), size) : QByteArray();
}

QString SqliteStatement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column)) : QString();
}

std::string SqliteStatement::utf8(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(m_statement, column))) : std::string();
}

long long SqliteStatement::int64(int column) const { return sqlite3_column_int64(m_statement, column); }

QString SqliteStatement::expandedSql() const
{
    if (!m_statement)
        return {};
    char* sql = sqlite3_expanded_sql(m_statement);
    const QString result = QString::fromUtf8(sql);
    sqlite3_free(sql);
    return result;
}

}  // namespace qn
