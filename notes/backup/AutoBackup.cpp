#include "notes/backup/AutoBackup.h"

#include "store/uDM.h"

#include <QTimer>

TAutoBackup::TAutoBackup(TDM& dm, QObject* parent, std::function<QDateTime()> now)
    : QObject(parent), m_dm(dm), m_now(std::move(now))
{
    m_timer = new QTimer(this);
    m_timer->setInterval(kCheckIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &TAutoBackup::CheckNow);
    m_timer->start();
}

TAutoBackup::~TAutoBackup() { WaitForCopy(); }

bool TAutoBackup::Due(bool daily) const
{
    // Notes waiting in memory go into the copy once the store has them.
    if (m_dm.NotesWritten() == m_writtenAtLastCopy || m_dm.SavesHeld())
        return false;
    if (!daily)
        return true;
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(m_dm.databasePath());
    return copies.empty() || copies.front().made.date() != m_now().date();
}

bool TAutoBackup::CheckNow()
{
    if (m_running.load() || !Due(true))
        return false;
    WaitForCopy();
    m_writtenAtLastCopy = m_dm.NotesWritten();
    m_running = true;
    // A failed daily copy is tried again at the next check.
    m_worker = std::thread([this, path = m_dm.databasePath(), now = m_now(), written = m_writtenAtLastCopy] {
        if (!qn::WriteBackup(path, now).ok())
            QMetaObject::invokeMethod(this, [this, written] {
                if (m_writtenAtLastCopy == written)
                    m_writtenAtLastCopy = 0;
            });
        m_running = false;
    });
    return true;
}

bool TAutoBackup::WaitForCopy()
{
    if (m_worker.joinable())
        m_worker.join();
    return !m_running.load();
}

qn::BackupOutcome TAutoBackup::BackupAtClose()
{
    WaitForCopy();
    if (!Due(false))
        return {};
    qn::BackupOutcome outcome = qn::WriteBackup(m_dm.databasePath(), m_now());
    if (outcome.ok())
        m_writtenAtLastCopy = m_dm.NotesWritten();
    return outcome;
}
