#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace qn {

ProgramFolder::ProgramFolder(const QString& root)
{
    QString path = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    m_root = path;
}

ProgramFolder ProgramFolder::OfExecutable()
{
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

bool ProgramFolder::ensureDataFolder() const
{
    return QDir().mkpath(dataFolder());
}

}  // namespace qn
