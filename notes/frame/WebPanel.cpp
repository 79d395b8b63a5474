#include "notes/frame/WebPanel.h"

#include "core/SettingsFile.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScrollBar>
#include <QStringDecoder>

namespace qn {

namespace {

UrlOpener& Opener()
{
    static UrlOpener opener;
    return opener;
}

bool IsWebScheme(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

QString WebBaseName() { return QStringLiteral("WebBase.ini"); }

// A page names its own encoding (a BOM or <meta charset>); UTF-8 otherwise.
QString DecodePage(const QByteArray& bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    return decoder.decode(bytes);
}

}  // namespace

QUrl WebBaseUrl(const ProgramFolder& folder)
{
    const SettingsFile::ReadResult read = SettingsFile(folder.dataFile(WebBaseName())).read();
    if (read.ok() && !read.lines.isEmpty()) {
        const QUrl url(read.lines.first().trimmed(), QUrl::StrictMode);
        // Only a web site will do: the address is handed to the desktop's
        // opener, which must never run a program or a script.
        if (url.isValid() && IsWebScheme(url) && !url.host().isEmpty())
            return url;
    }
    // The pages ship beside the executable; a program folder given on the
    // command line may carry its own copy.
    const QString own = folder.root() + QStringLiteral("web");
    if (QFileInfo(own).isDir() || !QCoreApplication::instance())
        return QUrl::fromLocalFile(own);
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/web"));
}

QUrl WebPageUrl(const ProgramFolder& folder, const QString& path)
{
    QUrl url = WebBaseUrl(folder);
    QString basePath = url.path();
    while (basePath.endsWith(QLatin1Char('/')))
        basePath.chop(1);
    url.setPath(basePath + path);
    return url;
}

void SetUrlOpener(UrlOpener opener) { Opener() = std::move(opener); }

namespace {
bool OpenUrl(const QUrl& url)
{
    if (Opener())
        return Opener()(url);
    return QDesktopServices::openUrl(url);
}
}  // namespace

bool OpenHelpPage(const ProgramFolder& folder) { return OpenUrl(WebPageUrl(folder, kHelpPagePath)); }

bool OpenFeedbackPage(const ProgramFolder& folder) { return OpenUrl(WebPageUrl(folder, kFeedbackPagePath)); }

TWebLink::TWebLink(QWidget* parent) : QTextBrowser(parent), m_network(new QNetworkAccessManager(this))
{
    setObjectName(QStringLiteral("webLink"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Links open in the user's browser: the panel is far too small to read
    // a linked page in.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = m_current.resolved(link);
        // A page from the web may only lead to the web: a local file handed
        // to the desktop would be opened (or run) by whatever handles it.
        if (IsWebScheme(target) || (target.isLocalFile() && m_current.isLocalFile()))
            OpenUrl(target);
    });
}

void TWebLink::Navigate(const QUrl& url)
{
    if (m_reply) {
        m_reply->abort();
        m_reply = nullptr;
    }
    if (url == QUrl(QStringLiteral("about:blank"))) {
        clear();
        m_current = url;
        emit navigated(url, true);
        return;
    }
    if (url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (file.size() > kMaxPageBytes || !file.open(QIODevice::ReadOnly)) {
            emit navigated(url, false);
            return;
        }
        const QByteArray bytes = file.read(kMaxPageBytes);
        document()->setBaseUrl(url);
        m_current = url;
        setHtml(DecodePage(bytes));
        emit navigated(url, true);
        return;
    }
    if (!IsWebScheme(url)) {
        emit navigated(url, false);
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(15000);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network->get(request);
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kMaxPageBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, &TWebLink::finishReply);
}

void TWebLink::finishReply()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    reply->deleteLater();
    if (reply != m_reply)
        return;  // an older page, overtaken by a newer navigation
    m_reply = nullptr;
    const QUrl url = reply->request().url();
    if (reply->error() != QNetworkReply::NoError) {
        emit navigated(url, false);
        return;
    }
    const QByteArray bytes = reply->read(kMaxPageBytes);
    const QUrl finalUrl = reply->url();
    document()->setBaseUrl(finalUrl);
    m_current = finalUrl;
    setHtml(DecodePage(bytes));
    emit navigated(url, true);
}

QVariant TWebLink::loadResource(int type, const QUrl& name)
{
    // Pictures of a web page are not fetched (they would need a second round
    // of requests); local pictures load as usual.
    const QUrl resolved = m_current.resolved(name);
    if (IsWebScheme(resolved) || IsWebScheme(name))
        return {};
    return QTextBrowser::loadResource(type, name);
}

TWebPanel::TWebPanel(const ProgramFolder& folder, QWidget* parent) : QFrame(parent), m_folder(folder)
{
    setObjectName(QStringLiteral("pnlWeb"));
    setFixedSize(311, 70);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
    setFrameShape(QFrame::NoFrame);

    webLink = new TWebLink(this);
    webLink->setGeometry(-14, -19, 2013, 844);
    webLink->setPalette(white);

    pmEmpty = new QMenu(this);
    pmEmpty->setObjectName(QStringLiteral("pmEmpty"));

    watch(this);
    watch(webLink);
    watch(webLink->viewport());
    watch(webLink->horizontalScrollBar());
    watch(webLink->verticalScrollBar());
}

void TWebPanel::watch(QWidget* widget)
{
    widget->setContextMenuPolicy(Qt::DefaultContextMenu);
    widget->installEventFilter(this);
}

void TWebPanel::NavigateStartPage()
{
    webLink->Navigate(QUrl(QStringLiteral("about:blank")));
    webLink->Navigate(WebPageUrl(m_folder, kStartPagePath));
}

bool TWebPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu) {
        // The browser's own menu (copy, select all, ...) never shows.
        pmEmpty->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace qn
