#include "core/SettingsFile.h"

#include "core/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace qn {

namespace {

// Decodes with the named codec; nullopt when the bytes are not valid in it.
std::optional<QString> StrictDecode(const char* codec, const QByteArray& bytes)
{
    // Stateless: bytes left over at the end (a cut-off character) count as
    // an error instead of being held back for more input.
    QStringDecoder decoder(codec, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) { }

bool SettingsFile::exists() const { return QFileInfo::exists(m_path); }

QString SettingsFile::decode(const QByteArray& bytes)
{
    // Our own files are GBK: no byte order mark is guessed before that.
    if (auto text = StrictDecode("GBK", bytes))
        return *text;
    // Files written with characters outside GBK are GB18030.
    if (auto text = StrictDecode("GB18030", bytes))
        return *text;
    // A file saved by a UTF-8 editor (a byte order mark is dropped).
    if (auto text = StrictDecode("UTF-8", bytes))
        return *text;
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    if (gbk.isValid())
        return gbk.decode(bytes);
    return QString::fromLatin1(bytes);
}

QByteArray SettingsFile::encode(const QString& text)
{
    QStringEncoder gbk("GBK");
    if (gbk.isValid()) {
        QByteArray bytes = gbk.encode(text);
        if (!gbk.hasError())
            return bytes;
    }
    QStringEncoder gb18030("GB18030");
    if (gb18030.isValid()) {
        QByteArray bytes = gb18030.encode(text);
        if (!gb18030.hasError())
            return bytes;
    }
    // No CJK codec at all (a Qt without ICU): UTF-8 keeps every character.
    return text.toUtf8();
}

QStringList SettingsFile::splitLines(const QString& text)
{
    QStringList lines;
    QString current;
    bool pending = false;  // characters since the last line break
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(current);
            current.clear();
            pending = false;
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current.append(c);
            pending = true;
        }
    }
    if (pending)
        lines.append(current);
    return lines;
}

SettingsFile::ReadResult SettingsFile::read() const
{
    ReadResult result;
    if (!QFileInfo::exists(m_path)) {
        result.status = Status::Missing;
        return result;
    }
    FileRead read = ReadFileBounded(m_path, kMaxReadBytes);
    if (!read.ok()) {
        result.status = Status::Unreadable;
        result.error = read.error->message();
        return result;
    }
    QByteArray& bytes = read.bytes;
    if (read.truncated) {
        // Keep whole lines only: the cut may fall inside a line or inside a
        // two-byte character.
        const qsizetype lastBreak = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
        result.truncated = true;
    }
    result.status = Status::Ok;
    result.lines = splitLines(decode(bytes));
    return result;
}

SettingsFile::ReadResult SettingsFile::readOrCreate(const QStringList& defaults) const
{
    ReadResult result = read();
    if (result.status != Status::Missing)
        return result;
    result.status = Status::Created;
    result.lines = defaults;
    write(defaults, &result.error);
    return result;
}

bool SettingsFile::write(const QStringList& lines, QString* error) const
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = FileErrorMessage(
                FileAction::Write, m_path,
                QStringLiteral("无法创建文件夹“%1”").arg(QDir::toNativeSeparators(info.absolutePath())));
        return false;
    }
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    if (const std::optional<FileError> failure = WriteFileSafely(m_path, encode(text))) {
        if (error)
            *error = failure->message();
        return false;
    }
    return true;
}

std::optional<int> ParseWholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

}  // namespace qn
