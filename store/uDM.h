#pragma once
// The data module: the one connection to the notes database Data/UserData.mdb
// (an SQLite file) and the one query object every statement goes through.
//
// Table tb_NewQN(YearMonthStr, Content, ContentBak): one row per day key
// "YYYYMMDD"; Content holds the note as RTF bytes, ContentBak as plain text.

#include "core/ProgramFolder.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>

class QWidget;

class TDM {
public:
    explicit TDM(const qn::ProgramFolder& folder);
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Opens the database, creating the file and its table when the file is
    // missing. A file that exists but is not a usable notes database is never
    // modified; then "配置文件加载失败，请重试！" is shown and the result is false.
    bool ConnectDatabase(QWidget* messageParent = nullptr);

    // The exact statement texts.
    static QString LookupStatement(const QString& key);
    static QString InsertStatement(const QString& key);
    static QString QuotedKey(const QString& key);

    // Row operations, each through qryData. They return false on any error.
    // Lookup: closes qryData, runs the lookup and positions on the first row;
    // the result tells whether a row was returned.
    std::optional<bool> LookupRow(const QString& key);
    bool InsertRow(const QString& key);
    // Writes both columns of the first row of key (the row the lookup returned).
    bool UpdateFirstRow(const QString& key, const QByteArray& content, const QString& contentBak);
    // Content of the current row after a successful lookup (empty for NULL).
    QByteArray CurrentContent() const;

    // Copies the write-ahead log back into the database file, without waiting
    // for anyone. Cheap when there is nothing to copy.
    bool Checkpoint();
    static constexpr int kCheckpointSafetyPages = 16384;

    // A save of a whole week is one transaction.
    bool BeginTransaction();
    bool CommitTransaction();
    void RollbackTransaction();

    QString databasePath() const { return m_path; }
    QSqlDatabase& AdoCon() { return m_db; }
    QSqlQuery& qryData() { return m_query; }

private:
    bool CreateDatabaseFile();
    bool OpenAndCheck();

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    QSqlQuery m_query;
};
