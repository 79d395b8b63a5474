#pragma once
// The program folder: every file the notebook keeps lies under it, in Data/.
// "Data\" and "data\" of the Windows program are the one folder Data/ here.
// The folder is a value handed to each window, never a global.

#include <QString>

namespace qn {

class ProgramFolder {
public:
    ProgramFolder() = default;
    // root: the folder itself (absolute or relative; stored absolute, with a
    // trailing slash).
    explicit ProgramFolder(const QString& root);

    // The folder of the running executable (QCoreApplication must exist).
    static ProgramFolder OfExecutable();

    // The folder a copy of the program uses when none is given on the command
    // line (QCoreApplication must exist, with its application name set): the
    // executable's own folder for a portable copy; the user's data folder
    // (QStandardPaths::AppLocalDataLocation) for an installed copy whose
    // folder the user cannot write.
    static ProgramFolder Default();

    // The choice behind Default(), apart from the file system:
    // executableFolderWritable tells whether the notes could be kept beside
    // the executable (its Data/ folder, or the folder itself when Data/ does
    // not exist yet, is writable).
    static ProgramFolder Choose(const QString& executableFolder, bool executableFolderWritable,
                                const QString& userDataFolder);

    // True when notes can be written under folder: its Data/ folder is
    // writable, or Data/ is missing and the folder itself is writable.
    // Folders under /usr never count: they belong to the system, even when
    // the administrator runs the program.
    static bool CanKeepNotesIn(const QString& folder);

    const QString& root() const { return m_root; }
    QString dataFolder() const { return m_root + QStringLiteral("Data/"); }
    // Path of a file in Data/, for example dataFile("UserData.mdb").
    QString dataFile(const QString& name) const { return dataFolder() + name; }

    // Creates Data/ when it is missing. False when it cannot be created.
    bool ensureDataFolder() const;

private:
    QString m_root;
};

}  // namespace qn
