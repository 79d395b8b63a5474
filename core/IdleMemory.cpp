#include "core/IdleMemory.h"

#include <QFile>
#include <QStringList>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace qn {

bool IsReadOnlyFontMapping(const QString& mapsLine)
{
    // "start-end perms offset dev inode path": private and read-only, never
    // written, so the pages equal the file's.
    const QStringList fields = mapsLine.simplified().split(QLatin1Char(' '));
    if (fields.size() < 6 || fields[1] != QLatin1String("r--p"))
        return false;
    const QString path = fields.mid(5).join(QLatin1Char(' '));
    if (!path.startsWith(QLatin1Char('/')))
        return false;
    for (const char* suffix : {".ttf", ".ttc", ".otf", ".otc"})
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

void ReleaseIdleMemory()
{
#ifdef __linux__
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (maps.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList lines = QString::fromLocal8Bit(maps.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (!IsReadOnlyFontMapping(line))
                continue;
            const QStringList range = line.section(QLatin1Char(' '), 0, 0).split(QLatin1Char('-'));
            bool startOk = false;
            bool endOk = false;
            const quintptr start = range.value(0).toULongLong(&startOk, 16);
            const quintptr end = range.value(1).toULongLong(&endOk, 16);
            if (startOk && endOk && end > start)
                madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
        }
    }
#endif
}

}  // namespace qn
