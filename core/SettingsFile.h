#pragma once
// The small text files under Data/ (FormSize.ini, mincfg.ini, SetTrans.ini,
// loginstr.db, ...): read and written whole as lists of lines, in the GBK
// code page the notebook has always used, lines ending CR LF.
//
// Loaders follow one pattern: if the file exists, read it; if it is missing,
// set the defaults and write them. A file that exists but cannot be used
// (unreadable, garbage) is never replaced behind the user's back: only the
// step that owns the file writes it.

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
        Ok,          // read; lines() holds its lines
        Missing,     // no such file
        Unreadable,  // exists but could not be opened or read (or is a folder)
    };

    struct ReadResult {
        Status status = Status::Missing;
        QStringList lines;       // empty unless Ok
        bool truncated = false;  // the file was longer than kMaxReadBytes
        QString error;           // why it could not be read (Unreadable)

        bool ok() const { return status == Status::Ok; }
    };

    explicit SettingsFile(QString path);

    const QString& path() const { return m_path; }
    bool exists() const;

    // Reads the whole file as lines, split at CR LF, LF or CR; a final line
    // break does not make an extra empty line ("" → no lines, "\r\n" → one
    // empty line). Bytes are GBK; a file that is not valid GBK is tried as
    // GB18030 and then as UTF-8 before the GBK reading with replacement
    // characters is taken. A UTF-8 byte order mark is honoured.
    ReadResult read() const;

    // Replaces the file with the given lines, each followed by CR LF.
    // Encoded GBK, or GB18030 when a line holds characters GBK lacks. The
    // text goes to a temporary file that is renamed into place, so a crash
    // never leaves half a file. A new file is readable by the owner only; an
    // existing file keeps its permissions. The folder is created if needed.
    // False (with the reason in *error) when the file could not be written.
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
