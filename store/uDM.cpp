#include "store/uDM.h"

#include "core/Messages.h"
#include "store/Backup.h"
#include "store/Schema.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QAtomicInt g_connectionCounter;

const QString kLoadFailed = QStringLiteral("配置文件加载失败，请重试！");

// Runs a statement on the connection; its first value, or the failure.
qn::StoreResult<QString> Run(sqlite3* db, std::string_view sql)
{
    qn::SqliteStatement statement(db, sql);
    if (statement.prepareResult() != SQLITE_OK)
        return {{}, qn::StatusFromSqlite(statement.prepareResult())};
    const int result = statement.step();
    if (result == SQLITE_ROW)
        return {statement.text(0), qn::StoreStatus::Ok};
    return {{}, qn::StatusFromSqlite(result)};
}

// Statements that set up a new file; the table keeps the three columns the
// notebook uses. Keys may repeat: the first row found is the one used.
const char* const kCreateStatements[] = {
    "PRAGMA journal_mode=WAL",
    "CREATE TABLE tb_NewQN (YearMonthStr TEXT, Content BLOB, ContentBak TEXT)",
    "CREATE INDEX idx_tb_NewQN_YearMonthStr ON tb_NewQN (YearMonthStr)",
};

}  // namespace

TDM::TDM(const qn::ProgramFolder& folder)
    : m_path(folder.dataFile(QStringLiteral("UserData.mdb"))),
      m_connectionName(QStringLiteral("qn-notes-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1))), m_search(m_path)
{
}

TDM::~TDM() { Close(); }

void TDM::Close()
{
    // The index keeper stops, and the prepared statements end, before the
    // connection they run on.
    m_search.Detach();
    m_notes.reset();
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_writable = false;
    m_logPages = 0;
}

bool TDM::ConnectDatabase(QWidget* messageParent, bool reportFailure)
{
    if (!OpenForReading(messageParent, reportFailure))
        return false;
    // Every page is read before anything writes to the file.
    if (qn::CheckWholeFile(m_path, m_busyTimeoutMs) == qn::StoreStatus::Ok && OpenForWriting() == qn::StoreStatus::Ok)
        return true;
    Refuse(messageParent, reportFailure);
    return false;
}

bool TDM::OpenForReading(QWidget* messageParent, bool reportFailure)
{
    Close();
    const bool ok = (QFileInfo::exists(m_path) || CreateDatabaseFile()) && OpenReadOnly() == qn::StoreStatus::Ok;
    if (!ok)
        Refuse(messageParent, reportFailure);
    return ok;
}

void TDM::Refuse(QWidget* messageParent, bool reportFailure)
{
    Close();
    qn::RemoveLogIndexMadeByCheck(m_path, m_readAccess);
    m_readAccess = {};
    if (reportFailure)
        qn::ShowPlainMessage(messageParent, kLoadFailed);
}

// A new database is built under a temporary name and renamed into place, so
// an interrupted first start never leaves a half-made file behind.
bool TDM::CreateDatabaseFile()
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    const QString temporary = m_path + QStringLiteral(".new");
    QFile::remove(temporary);
    const QString name = m_connectionName + QStringLiteral("-create");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temporary);
        if (db.open()) {
            QSqlQuery q(db);
            ok = true;
            for (const char* statement : kCreateStatements)
                ok = ok && q.exec(QString::fromLatin1(statement));
            q = QSqlQuery();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    // Notes are private: only their owner reads the file (SQLite gives its
    // journal files the same permissions).
    ok = ok && QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ok = ok && QFile::rename(temporary, m_path);
    if (!ok)
        QFile::remove(temporary);
    return ok;
}

// The fast checks, on a connection that cannot write and leaves the log and
// its index as they are; it serves the reads until the file has passed.
qn::StoreStatus TDM::OpenReadOnly()
{
    if (!QFileInfo(m_path).isFile())
        return qn::StoreStatus::ReadOnly;
    m_readAccess = qn::ReadOnlyAccessTo(m_path);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_readAccess.uri);
    m_db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    sqlite3* handle = m_db.open() ? qn::SqliteHandle(m_db) : nullptr;
    if (!handle)
        return qn::StoreStatus::Failed;
    // Opening alone succeeds on any file; the first query tells the truth.
    if (const qn::StoreStatus checked = qn::CheckNotesTable(handle); checked != qn::StoreStatus::Ok)
        return checked;
    m_notes = std::make_unique<qn::NoteStore>(handle);
    m_search.Attach(handle, false);
    return qn::StoreStatus::Ok;
}

qn::StoreStatus TDM::OpenForWriting()
{
    if (m_writable)
        return qn::StoreStatus::Ok;
    // The read-only connection goes first: the writer must not share a log
    // index that was opened read-only.
    Close();
    const qn::StoreStatus opened = OpenWritable();
    if (opened != qn::StoreStatus::Ok) {
        Close();
        OpenReadOnly();
    }
    return opened;
}

qn::StoreStatus TDM::OpenWritable()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    if (!QFileInfo(m_path).isFile())
        return qn::StoreStatus::ReadOnly;
    sqlite3* handle = m_db.open() ? qn::SqliteHandle(m_db) : nullptr;
    if (!handle)
        return qn::StoreStatus::Failed;

    // Each save is one transaction in the write-ahead log: a killed process
    // leaves every completed save in place and the file consistent. A log a
    // crash left behind is copied into the file from here on.
    const qn::StoreResult<QString> mode = Run(handle, "PRAGMA journal_mode=WAL");
    if (!mode.ok())
        return mode.status;
    if (mode.value.toLower() != QLatin1String("wal"))
        return qn::StoreStatus::ReadOnly;
    for (const std::string& setting : {std::string("PRAGMA synchronous=NORMAL"),
                                       "PRAGMA journal_size_limit=" + std::to_string(kLogSizeLimitBytes)}) {
        if (const qn::StoreResult<QString> done = Run(handle, setting); !done.ok())
            return done.status;
    }
    const qn::StoreResult<QString> pageSize = Run(handle, "PRAGMA page_size");
    if (!pageSize.ok())
        return pageSize.status;
    m_pageSize = pageSize.value.toInt() > 0 ? pageSize.value.toInt() : 4096;
    // Copying the log back into the file costs milliseconds; the week board
    // does it while the user pauses, or right after a save once the log has
    // grown (Checkpoint), not inside a keystroke's save. The hook counts the
    // log (it replaces SQLite's own copying, which would run inside a save).
    sqlite3_wal_hook(handle, &TDM::OnLogCommit, this);

    // Both only add beside the notes; a file that cannot take them (a full
    // disk, say) still opens, its lookups just go without the index.
    qn::EnsureLookupIndex(handle);
    // The search index's table names our tokenizer: it is known before
    // anything touches the table.
    qn::RegisterSearchTokenizer(handle);
    // A file with notes is copied before its schema changes; without the
    // copy it stays as it is, and searches read the notes.
    const bool current = qn::BackupBeforeMigration(handle, m_path) && qn::MigrateSchema(handle) == qn::StoreStatus::Ok;
    m_notes = std::make_unique<qn::NoteStore>(handle);
    // The search index follows every save, inside its transaction, and is
    // brought in step with the notes in the background.
    m_notes->SetDayWritten([this](const qn::DayNote& note) {
        ++m_notesWritten;
        m_search.DayWritten(note);
    });
    m_search.Attach(handle, current);
    m_writable = true;
    return qn::StoreStatus::Ok;
}

int TDM::OnLogCommit(void* self, sqlite3* db, const char* name, int pages)
{
    auto* dm = static_cast<TDM*>(self);
    dm->m_logPages = pages;
    if (pages >= kCheckpointSafetyPages) {
        int log = 0;
        int copied = 0;
        if (sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, &log, &copied) == SQLITE_OK)
            dm->m_logPages = log - copied;
    }
    return SQLITE_OK;
}

bool TDM::Checkpoint()
{
    sqlite3* handle = m_writable ? qn::SqliteHandle(m_db) : nullptr;
    if (!handle)
        return false;
    int log = 0;
    int copied = 0;
    if (sqlite3_wal_checkpoint_v2(handle, nullptr, SQLITE_CHECKPOINT_PASSIVE, &log, &copied) != SQLITE_OK)
        return false;
    m_logPages = log > copied ? log - copied : 0;
    return true;
}

void TDM::SetSavesHeld(bool held)
{
    m_savesHeld = held;
    m_search.SetSavesWaiting(held);
}

void TDM::SetBusyTimeout(int ms)
{
    m_busyTimeoutMs = ms;
    if (sqlite3* handle = qn::SqliteHandle(m_db))
        sqlite3_busy_timeout(handle, ms);
}
