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
