#pragma once
// Shared by the dialog tests: a fresh program folder per test and a message
// sink that records every message box instead of showing it.

#include "core/Messages.h"
#include "core/ProgramFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace qn::testing {

using Message = QPair<QString, QString>;  // caption, text

inline QList<Message>& RecordedMessages()
{
    static QList<Message> messages;
    return messages;
}

inline void RecordMessage(const QString& caption, const QString& text) { RecordedMessages().append({caption, text}); }

// A temporary program folder with an empty Data/ in it; messages recorded.
class TestFolder {
public:
    TestFolder()
    {
        QVERIFY2(m_dir.isValid(), "no temporary folder");
        QDir(m_dir.path()).mkpath(QStringLiteral("Data"));
        m_folder = ProgramFolder(m_dir.path());
        RecordedMessages().clear();
        SetMessageSink(&RecordMessage);
    }
    ~TestFolder() { SetMessageSink(nullptr); }

    const ProgramFolder& folder() const { return m_folder; }
    QString data(const QString& name) const { return m_folder.dataFile(name); }

    void writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(data(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readBytes(const QString& name) const
    {
        QFile file(data(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
    bool exists(const QString& name) const { return QFile::exists(data(name)); }

private:
    QTemporaryDir m_dir;
    ProgramFolder m_folder;
};

// True when only the owner may read and write the file (0600).
inline bool IsOwnerOnly(const QString& path)
{
    const QFileDevice::Permissions p = QFile::permissions(path);
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return (p & QFileDevice::ReadOwner) && (p & QFileDevice::WriteOwner) && !(p & others);
}

}  // namespace qn::testing
