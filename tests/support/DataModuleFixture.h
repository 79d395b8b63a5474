#pragma once
// A fresh program folder without a notes database, the messages the data
// module shows, and ways to make database files as other programs (or an
// earlier crash) leave them.

#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "store/uDM.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

inline QStringList g_messages;

inline void CollectMessage(const QString& caption, const QString& text)
{
    g_messages << caption + QLatin1Char('|') + text;
}

// A plain SQLite connection of the test's own, outside the data module.
class RawConnection {
public:
    explicit RawConnection(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr)
            != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~RawConnection() { Close(); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool Exec(const char* sql) const { return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    QString Error() const { return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("not open"); }
    // Closing leaves the log and its index behind, as a killed program does.
    void CloseLeavingTheLog()
    {
        if (m_db)
            sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        Close();
    }
    void Close()
    {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

class DataModuleTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = qn::ProgramFolder(dir.path());
        ASSERT_TRUE(folder.ensureDataFolder());
        g_messages.clear();
        qn::SetMessageSink(CollectMessage);
    }
    void TearDown() override { qn::SetMessageSink(nullptr); }

    QString dbPath() const { return folder.dataFile(QStringLiteral("UserData.mdb")); }

    static QByteArray ReadAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    void WriteFile(const QByteArray& bytes) const
    {
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Every file in the data folder with its bytes.
    std::map<QString, QByteArray> DataFiles() const
    {
        std::map<QString, QByteArray> files;
        for (const QString& name : QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden))
            files[name] = ReadAll(folder.dataFile(name));
        return files;
    }

    // A valid SQLite file made by someone else, with the given statements run.
    void MakeForeignDatabase(const QStringList& statements) const
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(dbPath());
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            for (const QString& s : statements)
                ASSERT_TRUE(q.exec(s)) << s.toStdString() << q.lastError().text().toStdString();
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    }

    void ExpectRefusedAndUntouched(const QByteArray& before)
    {
        {
            TDM dm(folder);
            EXPECT_FALSE(dm.ConnectDatabase());
        }
        ASSERT_EQ(g_messages.size(), 1);
        EXPECT_EQ(g_messages.first(), QStringLiteral("QN周记事本|配置文件加载失败，请重试！"));
        EXPECT_EQ(ReadAll(dbPath()), before);
        // Nothing new appears next to the file either.
        const QStringList entries = QDir(folder.dataFolder()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(entries, QStringList{QStringLiteral("UserData.mdb")});
    }

    QTemporaryDir dir;
    qn::ProgramFolder folder;
};
