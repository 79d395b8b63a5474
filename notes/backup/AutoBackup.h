#pragma once
// The automatic backups of the open notebook: once a day when notes were
// written and no copy of that day exists yet (on a thread of its own, so
// typing never waits for it), and when the program closes if notes were
// written since the last copy.

#include "store/Backup.h"

#include <QDateTime>
#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

class QTimer;
class TDM;

class TAutoBackup : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 10 * 60 * 1000;

    explicit TAutoBackup(
        TDM& dm, QObject* parent = nullptr,
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); });
    ~TAutoBackup() override;

    // The daily check: starts a copy in the background when one is due.
    // True when one was started.
    bool CheckNow();
    // Waits for a copy in progress; true when none is running any more.
    bool WaitForCopy();
    // At close: a copy when notes were written since the last one.
    // Nothing (an ok outcome without path) when none was due.
    qn::BackupOutcome BackupAtClose();

private:
    bool Due(bool daily) const;

    TDM& m_dm;
    std::function<QDateTime()> m_now;
    QTimer* m_timer = nullptr;
    std::thread m_worker;
    std::atomic<bool> m_running{false};
    quint64 m_writtenAtLastCopy = 0;
};
