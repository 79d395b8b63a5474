#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace qn {

namespace {

// Asks the system rather than the permission bits, so that ACLs, read-only
// mounts and the administrator's rights all count.
bool IsWritableFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK | X_OK) == 0;
#else
    return info.isWritable();
#endif
}

bool IsSystemFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath()) + QLatin1Char('/');
    return clean.startsWith(QLatin1String("/usr/"));
}

}  // namespace

ProgramFolder::ProgramFolder(const QString& root)
{
    QString path = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    m_root = path;
}

ProgramFolder ProgramFolder::OfExecutable() { return ProgramFolder(QCoreApplication::applicationDirPath()); }

ProgramFolder ProgramFolder::Default()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    return Choose(executableFolder, CanKeepNotesIn(executableFolder),
                  QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

ProgramFolder ProgramFolder::Choose(const QString& executableFolder, bool executableFolderWritable,
                                    const QString& userDataFolder)
{
    // Without a user data folder (no home) the executable's folder is the
    // only place left; creating Data/ there then fails with a message.
    if (executableFolderWritable || userDataFolder.isEmpty())
        return ProgramFolder(executableFolder);
    return ProgramFolder(userDataFolder);
}

bool ProgramFolder::CanKeepNotesIn(const QString& folder)
{
    if (folder.isEmpty() || IsSystemFolder(folder))
        return false;
    const QString data = QDir(folder).filePath(QStringLiteral("Data"));
    if (QFileInfo(data).exists())
        return IsWritableFolder(data);
    return IsWritableFolder(folder);
}

bool ProgramFolder::ensureDataFolder() const { return QDir().mkpath(dataFolder()); }

}  // namespace qn
