#include "store/WholeFileCheck.h"

#include <QThread>

namespace qn {

BackgroundFileCheck::BackgroundFileCheck(QString path, QObject* parent) : QObject(parent), m_path(std::move(path)) { }

BackgroundFileCheck::~BackgroundFileCheck()
{
    m_cancel = true;
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void BackgroundFileCheck::Start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] {
        const StoreStatus status = CheckWholeFile(m_path, 1000, &m_cancel);
        if (m_cancel)
            return;
        // Delivered on this object's thread; dropped if the object is gone.
        QMetaObject::invokeMethod(
            this, [this, status] { emit finished(status); }, Qt::QueuedConnection);
    });
    m_thread->setObjectName(QStringLiteral("notes file check"));
    m_thread->start(QThread::LowPriority);
}

}  // namespace qn
