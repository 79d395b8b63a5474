#pragma once
// One notebook per program folder. Two processes saving whole weeks on every
// keystroke would overwrite each other's notes, so a second start hands over
// to the first (which comes to the front) and ends before it opens anything.

#include "core/ProgramFolder.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

namespace qn {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const ProgramFolder& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process now owns the folder. Otherwise it has asked the
    // running notebook to come to the front; alreadyRunningReached() tells
    // whether that message arrived.
    bool acquire();
    bool alreadyRunningReached() const { return m_reachedRunning; }

    static QString ServerName(const ProgramFolder& folder);

signals:
    // Another start asked this notebook to show itself.
    void activationRequested();

private:
    void acceptConnections();

    ProgramFolder m_folder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    bool m_reachedRunning = false;
};

}  // namespace qn
