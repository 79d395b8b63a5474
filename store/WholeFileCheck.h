#pragma once
// The check of every page of the notes file, on a thread of its own, so that
// the window shows first. The result comes back on the thread that started
// it.

#include "store/FileChecks.h"
#include "store/StoreStatus.h"

#include <QObject>
#include <QString>

#include <atomic>

class QThread;

namespace qn {

class BackgroundFileCheck : public QObject {
    Q_OBJECT
public:
    explicit BackgroundFileCheck(QString path, QObject* parent = nullptr);
    // A check still running is cancelled and waited for.
    ~BackgroundFileCheck() override;
    BackgroundFileCheck(const BackgroundFileCheck&) = delete;
    BackgroundFileCheck& operator=(const BackgroundFileCheck&) = delete;

    void Start();

signals:
    // Ok when every page is sound; the failure otherwise.
    void finished(qn::StoreStatus status);

private:
    QString m_path;
    std::atomic<bool> m_cancel{false};
    QThread* m_thread = nullptr;
};

}  // namespace qn
