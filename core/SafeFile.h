#pragma once
// The one way the notebook writes a file, and the failure every file
// operation reports.
//
// WriteFileSafely writes the new bytes to a temporary file beside the target,
// without any buffer that could hide an error, flushes them to the disk and
// checks every step; only then does the temporary file replace the old one,
// in one rename. On any error (a full disk, no permission, a missing folder)
// the old file is left exactly as it was, no temporary file is left behind,
// and the caller gets a FileError to show. Every file written is readable
// and writable by its owner only (0600), whatever mode it had before.
//
//     if (const auto error = qn::WriteFileSafely(path, bytes))
//         qn::ShowErrorReport(parent, error->message());
//
// Where the path is a symbolic link the caller chooses what is replaced:
// LinkHandling::WriteTarget writes the file the link points to (settings a
// user keeps elsewhere through a link); LinkHandling::ReplaceLink replaces the
// link itself and never touches what it pointed to (a file the user names in
// a dialog, which must not become a way to overwrite another file).

#include "core/Messages.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace qn {

// A failed read or write of one file.
struct FileError {
    FileAction action = FileAction::Write;
    QString path;
    int systemError = 0;  // errno of the failing step; 0 when the reason is our own
    QString reason;       // in our words: "磁盘已满", "没有权限", ...

    // From the errno of a failing step, worded by FileErrorReason.
    static FileError FromSystem(FileAction action, const QString& path, int systemError);

    // The whole message for a message box: what failed, where, why, and the
    // system's own text as a detail.
    QString message() const;
};

enum class LinkHandling {
    WriteTarget,  // a link stays; the file it points to is replaced
    ReplaceLink,  // the link itself is replaced; its target is never touched
};

// Replaces (or creates) the file at path with exactly these bytes, owner-only.
// The folder must exist. nullopt on success; on failure the old file is
// unchanged.
std::optional<FileError> WriteFileSafely(const QString& path, const QByteArray& bytes,
                                         LinkHandling links = LinkHandling::WriteTarget);

// Reads at most maxBytes bytes of a regular file. Missing files, folders,
// pipes and devices are errors (ENOENT, EISDIR, ...): a pipe would wait
// forever.
struct FileRead {
    QByteArray bytes;
    bool truncated = false;  // the file holds more than maxBytes
    std::optional<FileError> error;
    bool ok() const { return !error.has_value(); }
};
FileRead ReadFileBounded(const QString& path, qint64 maxBytes);

// Tests stand in for a failing disk where they cannot fill a real one: while
// set to an errno value (ENOSPC for a full disk), every WriteFileSafely stops
// after writing part of the bytes, with that error. 0 ends it.
void SetWriteFailureForTests(int systemError);

}  // namespace qn
