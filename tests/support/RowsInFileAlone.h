#pragma once
// How many notes rows the database file holds by itself, as a copy of the
// file without its write-ahead log would see them (-1 when it cannot be read).

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

inline int RowsInFileAlone(const QString& databasePath)
{
    const QString copy = databasePath + QStringLiteral(".copy");
    QFile::remove(copy);
    if (!QFile::copy(databasePath, copy))
        return -1;
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("file-alone"));
        db.setDatabaseName(copy);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("select count(*) from tb_NewQN")) && q.next())
                rows = q.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("file-alone"));
    QFile::remove(copy);
    return rows;
}
