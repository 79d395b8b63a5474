#include "core/SafeFile.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qn {

namespace {

std::atomic<int> g_writeFailure{0};

// Links followed before giving up, as the system does (ELOOP).
constexpr int kMaxLinkHops = 40;

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray NameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The path a link chain ends at (the path itself when it is no link). A
// dangling link ends at the missing file, which is then created.
std::optional<QByteArray> FollowLinks(QByteArray path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st { };
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        if (n < 0 || n >= ssize_t(sizeof target))
            return path;
        QByteArray next(target, n);
        if (!next.startsWith('/'))
            next = FolderOf(path) + '/' + next;
        path = next;
    }
    return std::nullopt;
}

// Closes the descriptor and removes the temporary file unless it was
// renamed into place.
class TemporaryFile {
public:
    TemporaryFile(int fd, QByteArray path) : m_fd(fd), m_path(std::move(path)) { }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_placed)
            ::unlink(m_path.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    const QByteArray& path() const { return m_path; }
    // Closes the descriptor; the errno of a failing close, or 0.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }
    void placed() { m_placed = true; }

private:
    int m_fd;
    QByteArray m_path;
    bool m_placed = false;
};

// Writes all bytes, unbuffered; the errno of the failing write, or 0.
int WriteAll(int fd, const char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += n;
    }
    return 0;
}

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);  // best effort: the file itself is already on the disk
    ::close(fd);
}

}  // namespace

FileError FileError::FromSystem(FileAction action, const QString& path, int systemError)
{
    return FileError{action, path, systemError, FileErrorReason(systemError)};
}

QString FileError::message() const
{
    return FileErrorMessage(action, path, reason,
                            systemError ? QString::fromLocal8Bit(std::strerror(systemError)) : QString());
}

std::optional<FileError> WriteFileSafely(const QString& path, const QByteArray& bytes, LinkHandling links)
{
    auto fail = [&](int systemError) { return FileError::FromSystem(FileAction::Write, path, systemError); };

    QByteArray target = QFile::encodeName(path);
    if (target.isEmpty())
        return fail(ENOENT);
    if (links == LinkHandling::WriteTarget) {
        const std::optional<QByteArray> end = FollowLinks(target);
        if (!end)
            return fail(ELOOP);
        target = *end;
    }

    struct stat st { };
    if (::lstat(target.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR);
        // A pipe or a device is never swapped for a plain file.
        if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
            return FileError{FileAction::Write, path, 0, QStringLiteral("这不是普通文件")};
    } else if (errno != ENOENT) {
        return fail(errno);
    }

    // Beside the target, so that the rename stays on one disk; hidden, and
    // named after it, so that one left by a power cut is recognisable.
    QByteArray pattern = FolderOf(target) + "/." + NameOf(target).left(64) + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    TemporaryFile temporary(fd, pattern);

    // Owner-only whatever the umask or the old file's mode.
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
        return fail(errno);
    const int injected = g_writeFailure.load();
    if (injected != 0) {
        WriteAll(fd, bytes.constData(), bytes.size() / 2);
        return fail(injected);
    }
    if (const int error = WriteAll(fd, bytes.constData(), bytes.size()))
        return fail(error);
    // A full disk or a failing device may only tell here.
    if (::fsync(fd) != 0)
        return fail(errno);
    if (const int error = temporary.close())
        return fail(error);
    if (::rename(temporary.path().constData(), target.constData()) != 0)
        return fail(errno);
    temporary.placed();
    SyncFolder(FolderOf(target));
    return std::nullopt;
}

FileRead ReadFileBounded(const QString& path, qint64 maxBytes)
{
    FileRead result;
    auto fail = [&](int systemError) {
        result.error = FileError::FromSystem(FileAction::Read, path, systemError);
        return result;
    };
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking: opening a pipe must not wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return fail(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        return fail(errno);
    if (S_ISDIR(st.st_mode))
        return fail(EISDIR);
    if (!S_ISREG(st.st_mode)) {
        result.error = FileError{FileAction::Read, path, 0, QStringLiteral("这不是普通文件")};
        return result;
    }
    QByteArray bytes(maxBytes + 1, Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    if (bytes.size() > maxBytes) {
        bytes.truncate(maxBytes);
        result.truncated = true;
    }
    result.bytes = std::move(bytes);
    return result;
}

void SetWriteFailureForTests(int systemError) { g_writeFailure.store(systemError); }

}  // namespace qn
