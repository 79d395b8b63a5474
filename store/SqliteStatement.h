#pragma once
// A prepared SQLite statement on the notes connection, owned for as long as
// the operation that uses it lives: prepared once, reset after every use,
// finalized on destruction. Works on the Qt driver's own sqlite3 handle.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
class QSqlDatabase;

namespace qn {

// The sqlite3 handle behind an open QSQLITE connection, or null.
sqlite3* SqliteHandle(const QSqlDatabase& db);

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // The result of preparing: SQLITE_OK when the statement can run.
    int prepareResult() const { return m_prepareResult; }

    // Binding (1-based, as SQLite counts); false when the value was refused.
    bool bind(int index, std::string_view text);
    bool bind(int index, const QString& text);
    bool bindBlob(int index, const QByteArray& bytes);
    bool bindInt64(int index, long long value);

    // One step: SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // Ready for the next use: the read or write it holds is released and the
    // bindings cleared.
    void reset();

    // Columns of the current row.
    int columnIndex(std::string_view name) const;
    bool isNull(int column) const;
    // The column's bytes: a BLOB as it is, TEXT as UTF-8, NULL as nothing.
    QByteArray bytes(int column) const;
    QString text(int column) const;
    std::string utf8(int column) const;
    long long int64(int column) const;

    // The statement as it runs, with the bound values written in.
    QString expandedSql() const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    int m_prepareResult = 0;
};

// Resets a statement when the scope ends, on every path.
class StatementUse {
public:
    explicit StatementUse(SqliteStatement& statement) : m_statement(statement) { }
    ~StatementUse() { m_statement.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

private:
    SqliteStatement& m_statement;
};

}  // namespace qn
