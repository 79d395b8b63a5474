#include "store/WholeFileCheck.h"

#include <QThread>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace qn {

namespace {

// The check reads the whole file while the user works in the window: the
// window's thread goes first whenever both want the processor. (Qt's
// thread priorities do nothing for ordinary threads on Linux, where each
// thread has a nice value of its own.)
void YieldToTheWindow()
{
#ifdef __linux__
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
#endif
}

}  // namespace

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
        YieldToTheWindow();
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
