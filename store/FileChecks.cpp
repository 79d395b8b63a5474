#include "store/FileChecks.h"

#include "store/NoteStore.h"
#include "store/SqliteStatement.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace qn {
namespace {

// Bytes 18 and 19 of the header are 2 for a file in write-ahead-log mode.
bool IsInLogMode(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(20);
    return header.size() == 20 && header.startsWith("SQLite format 3") && header[18] == 2 && header[19] == 2;
}

QString FileUri(const QString& path, const char* parameters)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/")) + QLatin1Char('?')
        + QLatin1String(parameters);
}

// Runs a statement that returns one row with one value; the value, or the
// failure.
StoreResult<QString> OneValue(sqlite3* db, std::string_view sql)
{
    SqliteStatement statement(db, sql);
    if (statement.prepareResult() != SQLITE_OK)
        return {{}, StatusFromSqlite(statement.prepareResult())};
    const int result = statement.step();
    if (result == SQLITE_ROW)
        return {statement.text(0), StoreStatus::Ok};
    return {{}, result == SQLITE_DONE ? StoreStatus::Failed : StatusFromSqlite(result)};
}

int CancelWhenAsked(void* cancel) { return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0; }

}  // namespace

ReadOnlyAccess ReadOnlyAccessTo(const QString& path)
{
    const bool hasLog = QFileInfo::exists(path + QStringLiteral("-wal"));
    const bool hasLogIndex = QFileInfo::exists(path + QStringLiteral("-shm"));
    if (!hasLog && IsInLogMode(path))
        return {FileUri(path, "mode=ro&immutable=1"), false};
    if (hasLog && hasLogIndex)
        return {FileUri(path, "mode=ro&readonly_shm=1"), false};
    return {FileUri(path, "mode=ro"), hasLog};
}

StoreStatus CheckNotesTable(sqlite3* db)
{
    const StoreResult<QString> kind =
        OneValue(db, "select type from sqlite_master where name = 'tb_NewQN' collate nocase");
    if (!kind.ok())
        return kind.status;
    if (kind.value != QLatin1String("table"))
        return StoreStatus::Failed;  // a view takes no saves

    // A trigger would change or drop saves behind the notebook's back.
    const StoreResult<QString> triggers = OneValue(
        db, "select count(*) from sqlite_master where type = 'trigger' and tbl_name = 'tb_NewQN' collate nocase");
    if (!triggers.ok())
        return triggers.status;
    if (triggers.value != QLatin1String("0"))
        return StoreStatus::Failed;

    SqliteStatement columns(db, "PRAGMA table_info(tb_NewQN)");
    QStringList names;
    int step = SQLITE_ROW;
    while ((step = columns.step()) == SQLITE_ROW)
        names << columns.text(1).toLower();
    if (step != SQLITE_DONE)
        return StatusFromSqlite(step);
    for (const char* needed : {"yearmonthstr", "content", "contentbak"})
        if (!names.contains(QLatin1String(needed)))
            return StoreStatus::Failed;

    // A table without row numbers, say, takes no update of the notebook.
    return NoteStore::CheckStatements(db);
}

StoreStatus CheckWholeFile(const QString& path, int busyTimeoutMs, const std::atomic<bool>* cancel)
{
    if (!QFileInfo(path).isFile())
        return StoreStatus::ReadOnly;
    const ReadOnlyAccess access = ReadOnlyAccessTo(path);
    sqlite3* db = nullptr;
    StoreStatus status = StoreStatus::Ok;
    const int opened =
        sqlite3_open_v2(access.uri.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (opened != SQLITE_OK) {
        status = StatusFromSqlite(opened);
    } else {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, busyTimeoutMs);
        if (cancel)
            sqlite3_progress_handler(db, 1000, &CancelWhenAsked, const_cast<std::atomic<bool>*>(cancel));
        const StoreResult<QString> first = OneValue(db, "PRAGMA quick_check");
        if (!first.ok())
            status = first.status;  // a cancelled check ends as Failed
        else if (first.value != QLatin1String("ok"))
            status = StoreStatus::Corrupt;
    }
    sqlite3_close(db);
    if (status != StoreStatus::Ok)
        RemoveLogIndexMadeByCheck(path, access);
    return status;
}

void RemoveLogIndexMadeByCheck(const QString& path, const ReadOnlyAccess& access)
{
    if (access.createsLogIndex)
        QFile::remove(path + QStringLiteral("-shm"));
}

}  // namespace qn
