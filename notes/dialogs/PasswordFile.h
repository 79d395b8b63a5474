#pragma once
// Data/loginstr.db, the login password: line 1 holds the password, line 2 the
// same again (the confirmation entry) and line 3 "-1"; or, when no password
// is set, the marker "XKPWD7304186" on lines 1 and 2 and "0" on line 3. GBK
// text with CR LF, like every file under Data/, so existing files keep
// working. The lock guards access within this single-user program; it is
// not encryption.
//
// The login at start-up and the password window both read and write the
// file through this type only.

#include "core/ProgramFolder.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qn {

inline const QString kNoPasswordMarker = QStringLiteral("XKPWD7304186");

// Path of the password file in the program folder.
QString PasswordFilePath(const ProgramFolder& folder);

class PasswordFile {
public:
    explicit PasswordFile(const ProgramFolder& folder);

    const QString& path() const { return m_path; }

    // The lines of a file without a password: the marker twice and "0".
    static QStringList NoPasswordLines();

    // Line 1, the one the login compares with; nullopt when the file is
    // missing, unreadable or has no line at all. A line 1 equal to the
    // marker means that no password is set.
    std::optional<QString> loginLine() const;

    // The start-up's reading: a missing file is first written with no
    // password (an existing file is never replaced); then as loginLine().
    std::optional<QString> loginLineAtStartUp() const;

    // Whether the password is switched on, as the password window shows it:
    // line 3 is "-1". Without the file or its third line, nullopt and the
    // reason in *error.
    std::optional<bool> passwordSwitchedOn(QString* error) const;

    // Switches the password on with the two entries (lines 1 and 2, then
    // "-1"), or off (the marker twice, "0"). False with the message for the
    // user in *error when the file could not be written; it is then
    // unchanged.
    bool writePassword(const QString& entry, const QString& confirmation, QString* error) const;
    bool writeNoPassword(QString* error) const;

private:
    QString m_path;
};

}  // namespace qn
