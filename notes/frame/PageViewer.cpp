#include "notes/frame/PageViewer.h"

#include "notes/frame/WebPanel.h"

#include <QScrollBar>
#include <QVBoxLayout>

namespace qn {

TPageViewer::TPageViewer(const QUrl& siteBase, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PageViewer"));
    setWindowTitle(QStringLiteral("帮助说明"));
    resize(720, 560);
    m_view = new TWebLink(this);
    m_view->setObjectName(QStringLiteral("pageView"));
    m_view->setFollowLinks(true);
    m_view->setLocalRoot(siteBase);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &TWebLink::navigated, this, [this](const QUrl&, bool ok) {
        const QString title = m_view->documentTitle();
        if (ok && !title.isEmpty())
            setWindowTitle(title);
    });
}

void TPageViewer::ShowPage(const QUrl& url)
{
    m_view->Navigate(url);
    show();
    raise();
    activateWindow();
}

}  // namespace qn
