#include "store/StoreStatus.h"

#include <sqlite3.h>

namespace qn {

StoreStatus StatusFromSqlite(int code)
{
    switch (code & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return StoreStatus::Ok;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return StoreStatus::Busy;
    case SQLITE_FULL: return StoreStatus::DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return StoreStatus::ReadOnly;
    case SQLITE_IOERR: return StoreStatus::IoError;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return StoreStatus::Corrupt;
    default: return StoreStatus::Failed;
    }
}

QString StatusText(StoreStatus status)
{
    switch (status) {
    case StoreStatus::Ok: return {};
    case StoreStatus::Busy: return QStringLiteral("数据库被占用");
    case StoreStatus::DiskFull: return QStringLiteral("磁盘已满");
    case StoreStatus::ReadOnly: return QStringLiteral("数据库文件不可写");
    case StoreStatus::IoError: return QStringLiteral("磁盘读写错误");
    case StoreStatus::Corrupt: return QStringLiteral("数据库文件已损坏");
    case StoreStatus::Failed: return QStringLiteral("数据库操作失败");
    }
    return {};
}

}  // namespace qn
