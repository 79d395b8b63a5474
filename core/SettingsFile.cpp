#include "core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes.mid(kUtf8Bom.size()));
    if (auto text = StrictDecode("GBK", bytes))
        return *text;
    // Files written with characters outside GBK are GB18030.
    if (auto text = StrictDecode("GB18030", bytes))
        return *text;
    // A file saved by a UTF-8 editor.
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
    QFileInfo info(m_path);
    if (!info.exists()) {
        result.status = Status::Missing;
        return result;
    }
    if (!info.isFile()) {
        // A folder, a pipe or a device: opening a pipe would wait forever.
        result.status = Status::Unreadable;
        result.error = QStringLiteral("“%1”不是普通文件").arg(QDir::toNativeSeparators(m_path));
        return result;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = Status::Unreadable;
        result.error = QStringLiteral("无法读取文件“%1”：%2").arg(QDir::toNativeSeparators(m_path), file.errorString());
        return result;
    }
    QByteArray bytes = file.read(kMaxReadBytes + 1);
    if (bytes.size() > kMaxReadBytes) {
        // Keep whole lines only: the cut may fall inside a line or inside a
        // two-byte character.
        bytes.truncate(kMaxReadBytes);
        const qsizetype lastBreak = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
        result.truncated = true;
    }
    if (file.error() != QFileDevice::NoError) {
        result.status = Status::Unreadable;
        result.error = QStringLiteral("无法读取文件“%1”：%2").arg(QDir::toNativeSeparators(m_path), file.errorString());
        return result;
    }
    result.status = Status::Ok;
    result.lines = splitLines(decode(bytes));
    return result;
}

bool SettingsFile::write(const QStringList& lines, QString* error) const
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(m_path), why);
        return false;
    };

    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("无法创建文件夹"));
    const bool isNew = !info.exists();

    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (isNew)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = encode(text);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
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
