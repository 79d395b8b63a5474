#include "notes/dialogs/PasswordFile.h"

#include "core/SettingsFile.h"

#include <QDir>

namespace qn {

namespace {

std::optional<QString> FirstLine(const SettingsFile::ReadResult& read)
{
    if (!read.ok() || read.lines.isEmpty())
        return std::nullopt;
    return read.lines.first();
}

}  // namespace

QString PasswordFilePath(const ProgramFolder& folder) { return folder.dataFile(QStringLiteral("loginstr.db")); }

PasswordFile::PasswordFile(const ProgramFolder& folder) : m_path(PasswordFilePath(folder)) { }

QStringList PasswordFile::NoPasswordLines() { return {kNoPasswordMarker, kNoPasswordMarker, QStringLiteral("0")}; }

std::optional<QString> PasswordFile::loginLine() const { return FirstLine(SettingsFile(m_path).read()); }

std::optional<QString> PasswordFile::loginLineAtStartUp() const
{
    // A failure to write the defaults leaves no file: no password either.
    return FirstLine(SettingsFile(m_path).readOrCreate(NoPasswordLines()));
}

std::optional<bool> PasswordFile::passwordSwitchedOn(QString* error) const
{
    const SettingsFile::ReadResult read = SettingsFile(m_path).read();
    QString why;
    if (read.status == SettingsFile::Status::Missing)
        why = QStringLiteral("找不到密码文件“%1”").arg(QDir::toNativeSeparators(m_path));
    else if (!read.ok())
        why = read.error;
    else if (read.lines.size() < 3)
        why = QStringLiteral("密码文件 loginstr.db 缺少第 3 行");
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return read.lines.at(2) == QLatin1String("-1");
}

bool PasswordFile::writePassword(const QString& entry, const QString& confirmation, QString* error) const
{
    return SettingsFile(m_path).write({entry, confirmation, QStringLiteral("-1")}, error);
}

bool PasswordFile::writeNoPassword(QString* error) const
{
    return SettingsFile(m_path).write(NoPasswordLines(), error);
}

}  // namespace qn
