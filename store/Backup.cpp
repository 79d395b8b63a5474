#include "store/Backup.h"

#include "store/Schema.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteConnection.h"
#include "store/SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>
#include <unistd.h>

#include <mutex>
#include <set>

namespace qn {
namespace {

constexpr QFileDevice::Permissions kOwnerFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerFolder = kOwnerFile | QFileDevice::ExeOwner;
const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
const QString kPartial = QStringLiteral(".partial");

constexpr int kKeepDays = 7;
constexpr int kKeepWeeks = 4;
constexpr int kKeepMonths = 12;

// One backup at a time in this program (the daily one runs on a thread).
std::mutex g_backupMutex;

QString BaseName(const QString& databasePath) { return QFileInfo(databasePath).completeBaseName(); }

QRegularExpression CopyName(const QString& base)
{
    return QRegularExpression(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(?:-(\\d+))?\\.mdb$")
                                  .arg(QRegularExpression::escape(base)));
}

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

bool SyncFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

// SQLite writes a consistent snapshot of source into target, a new
// owner-only file. Needs nothing but a read of source.
bool Snapshot(const QString& source, const QString& target, QString* error)
{
    QFile::remove(target);
    QFile created(target);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerFile)) {
        *error = QStringLiteral("无法创建文件 %1: %2").arg(target, created.errorString());
        return false;
    }
    created.close();
    bool ok = false;
    {
        SqliteConnection from(source, SqliteConnection::Mode::ReadOnly);
        if (!from.isOpen()) {
            *error = QStringLiteral("无法打开笔记文件 %1: %2").arg(source, Text(sqlite3_errstr(from.openResult())));
        } else {
            RegisterSearchTokenizer(from.handle());
            SqliteStatement vacuum(from.handle(), "VACUUM INTO ?1");
            const int result = vacuum.bind(1, target) ? vacuum.step() : vacuum.prepareResult();
            ok = result == SQLITE_DONE;
            if (!ok)
                *error = QStringLiteral("无法写入备份 %1: %2").arg(target, Text(sqlite3_errstr(result)));
        }
    }
    if (ok && !SyncFile(target)) {
        ok = false;
        *error = QStringLiteral("无法写入备份 %1").arg(target);
    }
    if (!ok)
        QFile::remove(target);
    return ok;
}

bool EnsureFolder(const QString& folder)
{
    QDir dir;
    if (!dir.exists(folder) && !dir.mkdir(folder, kOwnerFolder))
        return false;
    return QFile::setPermissions(folder, kOwnerFolder);
}

QString FreeName(const QString& folder, const QString& base, const QDateTime& now)
{
    const QString stamp = base + QLatin1Char('-') + now.toString(kStampFormat);
    QString name = stamp + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(folder + name) || QFileInfo::exists(folder + name + kPartial); ++n)
        name = stamp + QStringLiteral("-%1.mdb").arg(n);
    return folder + name;
}

bool HasNotesTable(SqliteConnection& db)
{
    SqliteStatement columns(db.handle(), "PRAGMA table_info(tb_NewQN)");
    std::set<std::string> names;
    while (columns.step() == SQLITE_ROW) {
        std::string name = columns.utf8(1);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.insert(name);
    }
    return names.contains("yearmonthstr") && names.contains("content") && names.contains("contentbak");
}

bool IsDamageCode(int code)
{
    const int primary = code & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT;
}

bool RenameIfPresent(const QString& from, const QString& to)
{
    return !QFileInfo::exists(from) || QFile::rename(from, to);
}

}  // namespace

QString BackupFolderOf(const QString& databasePath)
{
    return QFileInfo(databasePath).absolutePath() + QStringLiteral("/Backup/");
}

std::vector<BackupCopy> ListBackups(const QString& databasePath)
{
    const QString folder = BackupFolderOf(databasePath);
    const QRegularExpression pattern = CopyName(BaseName(databasePath));
    std::vector<BackupCopy> copies;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch match = pattern.match(file.fileName());
        if (!match.hasMatch())
            continue;
        const QDateTime made = QDateTime::fromString(match.captured(1), kStampFormat);
        const int sequence = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
        if (made.isValid())
            copies.push_back({file.absoluteFilePath(), made, file.size(), sequence});
    }
    std::sort(copies.begin(), copies.end(), [](const BackupCopy& a, const BackupCopy& b) {
        return a.made != b.made ? a.made > b.made : a.sequence > b.sequence;
    });
    return copies;
}

std::vector<bool> CopiesToKeep(const std::vector<QDateTime>& newestFirst)
{
    std::vector<bool> keep(newestFirst.size(), false);
    // Walking from the newest, the first copy of a period is its newest.
    auto rule = [&](int periods, auto periodOf) {
        std::set<long long> seen;
        for (size_t i = 0; i < newestFirst.size(); ++i) {
            const long long period = periodOf(newestFirst[i].date());
            if (seen.contains(period))
                continue;
            if (static_cast<int>(seen.size()) == periods)
                break;
            seen.insert(period);
            keep[i] = true;
        }
    };
    rule(kKeepDays, [](const QDate& d) { return d.toJulianDay(); });
    rule(kKeepWeeks, [](const QDate& d) {
        int year = 0;
        const int week = d.weekNumber(&year);
        return static_cast<long long>(year) * 100 + week;
    });
    rule(kKeepMonths, [](const QDate& d) { return static_cast<long long>(d.year()) * 12 + d.month(); });
    // Every copy of the last day stays as well: the one a restore started
    // from, and the one made just before it, are both still there to go
    // back to.
    for (size_t i = 0; i < newestFirst.size() && newestFirst[i] > newestFirst.front().addDays(-1); ++i)
        keep[i] = true;
    return keep;
}

void PruneBackups(const QString& databasePath)
{
    const std::vector<BackupCopy> copies = ListBackups(databasePath);
    std::vector<QDateTime> times;
    for (const BackupCopy& copy : copies)
        times.push_back(copy.made);
    const std::vector<bool> keep = CopiesToKeep(times);
    for (size_t i = 0; i < copies.size(); ++i)
        if (!keep[i])
            QFile::remove(copies[i].path);
    // A copy left half-written by an interrupted backup.
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-3600);
    const QFileInfoList partials = QDir(BackupFolderOf(databasePath)).entryInfoList({QLatin1Char('*') + kPartial});
    for (const QFileInfo& partial : partials)
        if (partial.lastModified() < stale)
            QFile::remove(partial.absoluteFilePath());
}

BackupOutcome WriteBackup(const QString& databasePath, const QDateTime& now)
{
    std::lock_guard lock(g_backupMutex);
    BackupOutcome outcome;
    const QString folder = BackupFolderOf(databasePath);
    if (!QFileInfo(databasePath).isFile()) {
        outcome.error = QStringLiteral("找不到笔记文件 %1").arg(databasePath);
        return outcome;
    }
    if (!EnsureFolder(folder)) {
        outcome.error = QStringLiteral("无法创建备份文件夹 %1").arg(folder);
        return outcome;
    }
    const QString target = FreeName(folder, BaseName(databasePath), now);
    // Written under a temporary name: a copy with a backup's name is complete.
    const QString partial = target + kPartial;
    if (!Snapshot(databasePath, partial, &outcome.error))
        return outcome;
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        outcome.error = QStringLiteral("无法写入备份 %1").arg(target);
        return outcome;
    }
    outcome.path = target;
    PruneBackups(databasePath);
    return outcome;
}

bool BackupBeforeMigration(sqlite3* db, const QString& databasePath)
{
    const StoreResult<int> version = SchemaVersion(db);
    if (!version.ok() || version.value >= CurrentSchemaVersion())
        return true;
    SqliteStatement anyNote(db, "SELECT 1 FROM tb_NewQN LIMIT 1");
    if (anyNote.step() != SQLITE_ROW)
        return true;
    anyNote.reset();
    return WriteBackup(databasePath, QDateTime::currentDateTime()).ok();
}

bool IsSoundNotesFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    SqliteConnection db(path, SqliteConnection::Mode::ReadOnly);
    if (!db.isOpen())
        return false;
    RegisterSearchTokenizer(db.handle());
    int result = 0;
    const QString check = db.QueryText("PRAGMA integrity_check", &result);
    return result == SQLITE_OK && check == QLatin1String("ok") && HasNotesTable(db);
}

bool IsDamagedNotesFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    SqliteConnection db(path, SqliteConnection::Mode::ReadOnly);
    if (!db.isOpen())
        return IsDamageCode(db.openResult());
    RegisterSearchTokenizer(db.handle());
    int result = 0;
    const QString check = db.QueryText("PRAGMA quick_check", &result);
    if (result != SQLITE_OK)
        return IsDamageCode(result);
    return check != QLatin1String("ok") || !HasNotesTable(db);
}

int DaysWithNotes(const QString& path)
{
    SqliteConnection db(path, SqliteConnection::Mode::ReadOnly);
    if (!db.isOpen())
        return -1;
    int result = 0;
    const QString days = db.QueryText(
        "SELECT count(DISTINCT YearMonthStr) FROM tb_NewQN "
        "WHERE length(YearMonthStr) = 8 AND trim(ContentBak, ' ' || char(9, 10, 13, 12288)) <> ''",
        &result);
    return result == SQLITE_OK ? days.toInt() : -1;
}

StoreStatus RestoreInto(sqlite3* live, const QString& copyPath)
{
    if (!live || !sqlite3_get_autocommit(live))
        return StoreStatus::Failed;
    SqliteConnection copy(copyPath, SqliteConnection::Mode::ReadOnly);
    if (!copy.isOpen())
        return StatusFromSqlite(copy.openResult());
    sqlite3_backup* backup = sqlite3_backup_init(live, "main", copy.handle(), "main");
    if (!backup)
        return StatusFromSqlite(sqlite3_extended_errcode(live));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        return StatusFromSqlite(stepped);
    return StatusFromSqlite(finished);
}

QString SetDamagedFileAside(const QString& databasePath, const QDateTime& now, QString* error)
{
    const QFileInfo info(databasePath);
    const QString stamp = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("-damaged-")
        + now.toString(kStampFormat);
    QString aside = stamp + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + QStringLiteral("-wal")); ++n)
        aside = stamp + QStringLiteral("-%1.mdb").arg(n);
    if (!QFile::rename(databasePath, aside)) {
        *error = QStringLiteral("无法重命名损坏的文件 %1").arg(databasePath);
        return {};
    }
    // The log belongs to the damaged file: it goes with it, so that neither
    // is ever read with a file it does not belong to.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const QString part = QLatin1String(suffix);
        if (!RenameIfPresent(databasePath + part, aside + part)) {
            for (const char* back : {"-wal", "-shm", "-journal"})
                RenameIfPresent(aside + QLatin1String(back), databasePath + QLatin1String(back));
            QFile::rename(aside, databasePath);
            *error = QStringLiteral("无法重命名损坏的文件 %1").arg(databasePath + part);
            return {};
        }
    }
    return aside;
}

bool InstallCopy(const QString& copyPath, const QString& databasePath, QString* error)
{
    if (QFileInfo::exists(databasePath)) {
        *error = QStringLiteral("文件已存在: %1").arg(databasePath);
        return false;
    }
    const QString partial = databasePath + kPartial;
    if (!Snapshot(copyPath, partial, error))
        return false;
    if (!QFile::rename(partial, databasePath)) {
        QFile::remove(partial);
        *error = QStringLiteral("无法写入笔记文件 %1").arg(databasePath);
        return false;
    }
    return true;
}

}  // namespace qn
