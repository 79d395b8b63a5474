#include "store/uDM.h"

#include "core/Messages.h"
#include "store/Backup.h"
#include "store/Schema.h"
#include "store/SearchTokenizer.h"
#include "store/SqliteStatement.h"

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
      m_connectionName(QStringLiteral("qn-notes-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1)))
{
}

TDM::~TDM() { Close(); }

void TDM::Close()
{
    // The index keeper stops, and the prepared statements end, before the
    // connection they run on.
    m_search.reset();
    m_notes.reset();
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool TDM::ConnectDatabase(QWidget* messageParent, bool reportFailure)
{
    bool ok = false;
    if (QFileInfo::exists(m_path))
        ok = OpenAndCheck();
    else
        ok = CreateDatabaseFile() && OpenAndCheck();
    if (!ok) {
        Close();
        if (reportFailure)
            qn::ShowPlainMessage(messageParent, kLoadFailed);
    }
    return ok;
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

bool TDM::OpenAndCheck()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!QFileInfo(m_path).isFile() || !m_db.open())
        return false;

    // Only reads until the file is known to be a usable notes database:
    // opening alone succeeds on any file, the first query tells the truth.
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()
        || check.value(0).toString() != QLatin1String("ok"))
        return false;
    if (!check.exec(QStringLiteral("PRAGMA table_info(tb_NewQN)")))
        return false;
    QStringList columns;
    while (check.next())
        columns << check.value(1).toString().toLower();
    for (const char* needed : {"yearmonthstr", "content", "contentbak"})
        if (!columns.contains(QString::fromLatin1(needed)))
            return false;

    // Each save is one transaction in the write-ahead log: a killed process
    // leaves every completed save in place and the file consistent.
    if (!check.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !check.next()
        || check.value(0).toString().toLower() != QLatin1String("wal"))
        return false;
    if (!check.exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
        return false;
    // Copying the log back into the file costs milliseconds; the main window
    // does it while the user pauses (Checkpoint), not inside a keystroke's
    // save. The large limit only guards against a log that never gets a pause.
    if (!check.exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(kCheckpointSafetyPages)))
        return false;
    check = QSqlQuery();

    sqlite3* handle = qn::SqliteHandle(m_db);
    if (!handle)
        return false;
    // Both only add beside the notes; a file that cannot take them (a full
    // disk, say) still opens, its lookups just go without the index.
    qn::EnsureLookupIndex(handle);
    // The search index's table names our tokenizer: it is known before
    // anything touches the table.
    qn::RegisterSearchTokenizer(handle);
    if (qn::BackupBeforeMigration(handle, m_path))
        qn::MigrateSchema(handle);
    m_notes = std::make_unique<qn::NoteStore>(handle);
    AttachSearch(handle);
    return true;
}

// The search index follows every save, and is brought in step with the
// notes in the background.
void TDM::AttachSearch(sqlite3* handle)
{
    m_search = std::make_unique<qn::NoteSearch>(handle, m_path);
    m_notes->SetDayWritten([this](const qn::DayNote& note) {
        ++m_notesWritten;
        m_search->DayWritten(note);
    });
    m_search->KeepInStep();
}

bool TDM::Checkpoint()
{
    QSqlQuery checkpoint(m_db);
    return checkpoint.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}
