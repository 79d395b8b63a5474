#pragma once
// A disk that is full, for the tests of every file the notebook writes.
//
// Where the test may mount (as root, e.g. in CI), a 64 KiB tmpfs is mounted
// on a folder of the test's own and filled up to the last byte: every write
// then fails the way it does on a real full disk. Where it may not, the
// disk is an ordinary folder and the writes are made to fail with ENOSPC
// through the safe writer's test hook instead. Either way the folder is
// unmounted (or the hook cleared) when the object goes.

#include "core/SafeFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>

#include <sys/mount.h>

namespace qn::testing {

class FullDisk {
public:
    enum class Kind { Mounted, Injected };

    // Kind::Mounted: mount a small tmpfs (mounted() tells whether that was
    // allowed). Kind::Injected: an ordinary folder, writes fail by the hook.
    explicit FullDisk(Kind kind) : m_kind(kind)
    {
        m_path = m_parent.path() + QStringLiteral("/disk");
        QDir().mkpath(m_path);
        if (kind == Kind::Mounted)
            m_mounted = ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                                "size=64k,mode=0700")
                == 0;
    }
    ~FullDisk()
    {
        SetWriteFailureForTests(0);
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // False when a tmpfs was asked for and mounting was not allowed.
    bool usable() const { return m_kind == Kind::Injected || m_mounted; }
    const QString& path() const { return m_path; }

    // From now on nothing more fits.
    void fill()
    {
        if (m_kind == Kind::Injected) {
            SetWriteFailureForTests(ENOSPC);
            return;
        }
        QFile filler(m_path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        // The last partial page, byte by byte.
        while (filler.write("x", 1) == 1) {
        }
    }

private:
    Kind m_kind;
    QTemporaryDir m_parent;
    QString m_path;
    bool m_mounted = false;
};

}  // namespace qn::testing
