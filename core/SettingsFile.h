#pragma once
// The small text files under Data/ (FormSize.ini, mincfg.ini, SetTrans.ini,
// loginstr.db, ...): read and written whole as lists of lines, in the GBK
// code page the notebook has always used, lines ending CR LF.
//
// Each file has one owner, which loads it with readOrCreate: if the file
// exists, read it; if it is missing, write its defaults and take them. A file
// that exists but cannot be used (unreadable, garbage) is never replaced
// behind the user's back: only the step that owns the file writes it.
// Every write goes through WriteFileSafely (core/SafeFile.h): a failure
// leaves the old file as it was, and the file is owner-only afterwards.

#include <QString>
#include <QStringList>

#include <optional>

namespace qn {

class SettingsFile {
public:
    // Nothing beyond this many bytes is read: a settings file is a few lines,
    // and a huge file must not stall or exhaust the program.
    static constexpr qint64 kMaxReadBytes = 64 * 1024;

    enum class Status {
        Ok,          // read; lines holds its lines
        Missing,     // no such file
        Unreadable,  // exists but could not be opened or read (or is a folder)
        Created,     // was missing: readOrCreate wrote the defaults, lines holds them
    };

    struct ReadResult {
        Status status = Status::Missing;
        QStringList lines;       // empty unless Ok or Created
        bool truncated = false;  // the file was longer than kMaxReadBytes
        // Unreadable: why it could not be read. Created: why the defaults
        // could not be written (empty when they were).
        QString error;

        bool ok() const { return status == Status::Ok || status == Status::Created; }
    };

    explicit SettingsFile(QString path);

    const QString& path() const { return m_path; }
    bool exists() const;

    // Reads the whole file as lines, split at CR LF, LF or CR; a final line
    // break does not make an extra empty line ("" → no lines, "\r\n" → one
    // empty line). Bytes are GBK, as the notebook writes them; only a file
    // that is not valid GBK is tried as GB18030 and then as UTF-8 (a file
    // from another editor) before the GBK reading with replacement
    // characters is taken. Bytes that look like a byte order mark are GBK
    // text like any other ("锘俊" is EF BB BF A1).
    ReadResult read() const;

    // The owner's loader: read(); when the file is missing, write defaults
    // and hand them back as its lines (Status::Created, with the write's
    // error, if any, in error). An existing file is never replaced.
    ReadResult readOrCreate(const QStringList& defaults) const;

    // Replaces the file with the given lines, each followed by CR LF.
    // Encoded GBK, or GB18030 when a line holds characters GBK lacks.
    // Written by WriteFileSafely: all or nothing, owner-only; through a
    // symbolic link to the file it points to. The folder is created if
    // needed. False (with the message for the user in *error) when the file
    // could not be written; the old file is then unchanged.
    bool write(const QStringList& lines, QString* error = nullptr) const;

    // Codec helpers, public for tests and for the rare caller with bytes.
    static QString decode(const QByteArray& bytes);
    static QByteArray encode(const QString& text);
    static QStringList splitLines(const QString& text);

private:
    QString m_path;
};

// A settings value read as a whole decimal number (32-bit, optional sign,
// blanks around it allowed). nullopt when the text is anything else.
std::optional<int> ParseWholeNumber(const QString& text);

}  // namespace qn
