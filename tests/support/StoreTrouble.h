#pragma once
// Real trouble for the notes store, made by the tests: another program
// holding the write lock, a damaged page in the file, a disk that is full.

#include "tests/support/DataModuleFixture.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/mount.h>
#include <unistd.h>

// Another connection that holds the database's write lock until it ends or
// Release() is called: saves meet a busy database.
class WriteLockHolder {
public:
    explicit WriteLockHolder(const QString& path) : m_connection(path)
    {
        m_held = m_connection.Exec("BEGIN IMMEDIATE");
    }
    ~WriteLockHolder() { Release(); }
    bool held() const { return m_held; }
    void Release()
    {
        if (m_held)
            m_connection.Exec("ROLLBACK");
        m_held = false;
    }

private:
    RawConnection m_connection;
    bool m_held = false;
};

// A harmless write by another connection (the schema version set to what it
// is): every open connection reads the file afresh at its next read.
inline bool TouchDatabase(const QString& path)
{
    RawConnection other(path);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(other.handle(), "PRAGMA user_version", -1, &statement, nullptr) != SQLITE_OK)
        return false;
    const int version = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    return version >= 0 && other.Exec(("PRAGMA user_version = " + std::to_string(version)).c_str());
}

// Damages the chain of a long note in the database file: the first overflow
// page whose content starts with marker (repeated) gets a pointer past the
// end of the file. Reading that note fails as corrupt; Repair() puts the
// pointer back.
class DamagedNotePage {
public:
    DamagedNotePage(const QString& path, char marker) : m_path(path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            return;
        const QByteArray bytes = file.readAll();
        if (bytes.size() < 100)
            return;
        int pageSize = (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
        if (pageSize == 1)
            pageSize = 65536;
        const QByteArray content(64, marker);
        for (qint64 at = pageSize; at + pageSize <= bytes.size(); at += pageSize) {
            const QByteArray next = bytes.mid(at, 4);
            if (next == QByteArray(4, '\0') || bytes.mid(at + 4, content.size()) != content)
                continue;
            m_offset = at;
            m_original = next;
            file.seek(at);
            file.write(QByteArray("\x7f\xff\xff\xf0", 4));
            break;
        }
    }
    bool damaged() const { return m_offset.has_value(); }
    bool Repair()
    {
        QFile file(m_path);
        if (!m_offset || !file.open(QIODevice::ReadWrite) || !file.seek(*m_offset))
            return false;
        return file.write(m_original) == 4;
    }

private:
    QString m_path;
    std::optional<qint64> m_offset;
    QByteArray m_original;
};

// A small disk of the test's own (a tmpfs mounted in a temporary folder),
// which Fill() fills to the last byte. Mounting needs root; where it is not
// allowed, mounted() is false and why() tells.
class SmallDisk {
public:
    explicit SmallDisk(const char* size = "size=1m")
    {
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return;
        }
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, size) != 0) {
            m_why = QStringLiteral("mounting a small tmpfs is not allowed here (%1); the full-disk case needs root")
                        .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path() const { return m_dir.path(); }

    // Writes a filler file until the disk takes no more.
    bool Fill()
    {
        const int fd = ::open(QFile::encodeName(path() + QStringLiteral("/filler")).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), block.size()) == block.size()) {
        }
        while (::write(fd, "x", 1) == 1) {  // the last partial block too
        }
        ::close(fd);
        return true;
    }
    bool Free() { return QFile::remove(path() + QStringLiteral("/filler")); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
