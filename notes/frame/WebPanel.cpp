#include "notes/frame/WebPanel.h"

#include "core/SettingsFile.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStringDecoder>

namespace qn {

namespace {

UrlOpener& Opener()
{
    static UrlOpener opener;
    return opener;
}

// The only scheme the pages may come from over the network.
bool IsWebScheme(const QUrl& url) { return url.scheme() == QLatin1String("https"); }

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
        // Only a web site over https will do: the address is handed to the
        // desktop's opener, which must never run a program or a script.
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

// The desktop's opener: xdg-open reports by its exit code whether a program
// took the page (QDesktopServices only knows whether xdg-open started).
void DesktopOpen(const QUrl& url, std::function<void()> failed)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty() || !QCoreApplication::instance()) {
        if (!QDesktopServices::openUrl(url) && failed)
            failed();
        return;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(xdgOpen);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if ((status != QProcess::NormalExit || code != 0) && failed)
            failed();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        if (failed)
            failed();
        process->deleteLater();
    });
    process->start();
}

}  // namespace

void OpenUrl(const QUrl& url, std::function<void()> failed)
{
    if (Opener())
        Opener()(url, std::move(failed));
    else
        DesktopOpen(url, std::move(failed));
}

void OpenHelpPage(const ProgramFolder& folder, std::function<void(const QUrl&)> showInside)
{
    const QUrl url = WebPageUrl(folder, kHelpPagePath);
    OpenUrl(url, [url, showInside] {
        if (showInside)
            showInside(url);
    });
}

void OpenFeedbackPage(const ProgramFolder& folder, std::function<void(const QString&)> tellWhere)
{
    const QUrl url = WebPageUrl(folder, kFeedbackPagePath);
    OpenUrl(url, [url, tellWhere] {
        if (tellWhere)
            tellWhere(FeedbackPageMessage(url));
    });
}

QString FeedbackPageMessage(const QUrl& url)
{
    const QString place = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    return QStringLiteral("无法在浏览器中打开意见反馈页面。请用浏览器打开：\n%1").arg(place);
}

bool NestsTooDeep(QStringView html, int limit)
{
    // Tables and the blocks that hold them are what Qt's layout recurses
    // over; other elements nest harmlessly.
    static const char* const kNesting[] = {"table", "div", "blockquote", "ul", "ol", "dl", "td", "th", "li"};
    int depth = 0;
    const qsizetype n = html.size();
    for (qsizetype i = html.indexOf(u'<'); i >= 0 && i + 1 < n; i = html.indexOf(u'<', i + 1)) {
        const bool closing = html[i + 1] == u'/';
        const qsizetype start = i + (closing ? 2 : 1);
        qsizetype end = start;
        while (end < n && end - start < 12 && html[end].isLetter())
            ++end;
        const QStringView name = html.sliced(start, end - start);
        for (const char* tag : kNesting) {
            if (name.compare(QLatin1String(tag), Qt::CaseInsensitive) != 0)
                continue;
            depth += closing ? -1 : 1;
            depth = std::max(depth, 0);
            if (depth > limit)
                return true;
            break;
        }
    }
    return false;
}

TWebLink::TWebLink(QWidget* parent) : QTextBrowser(parent), m_network(new QNetworkAccessManager(this))
{
    setObjectName(QStringLiteral("webLink"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &TWebLink::followLink);
}

void TWebLink::setLocalRoot(const QUrl& siteBase)
{
    m_localRoot.clear();
    if (siteBase.isLocalFile())
        m_localRoot = QDir::cleanPath(QFileInfo(siteBase.toLocalFile()).absoluteFilePath());
}

bool TWebLink::isOurPage(const QUrl& url) const
{
    if (!url.isLocalFile() || m_localRoot.isEmpty())
        return false;
    const QString path = QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
    return path.startsWith(m_localRoot + QLatin1Char('/'));
}

void TWebLink::followLink(const QUrl& link)
{
    const QUrl target = m_current.resolved(link);
    // A page from the web may only lead to the web, and our own pages only
    // to each other: any other local file handed to the desktop would be
    // opened (or run) by whatever handles it.
    const bool allowed = IsWebScheme(target) || (m_current.isLocalFile() && isOurPage(target));
    if (!allowed)
        return;
    if (!m_followLinks) {
        OpenUrl(target);
        return;
    }
    QUrl page = target;
    page.setFragment(QString());
    QUrl current = m_current;
    current.setFragment(QString());
    if (page != current)
        Navigate(target);
    if (target.hasFragment())
        scrollToAnchor(target.fragment());
}

bool TWebLink::show(const QUrl& url, const QByteArray& bytes)
{
    const QString html = DecodePage(bytes);
    if (NestsTooDeep(html, kMaxPageNesting))
        return false;
    m_current = url;
    document()->setBaseUrl(url);
    setHtml(html);
    return true;
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
        if (!QFileInfo(file).isFile() || file.size() > kMaxPageBytes || !file.open(QIODevice::ReadOnly)) {
            emit navigated(url, false);
            return;
        }
        const bool shown = show(url, file.read(kMaxPageBytes));
        emit navigated(url, shown);
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
    const QUrl finalUrl = reply->url();
    if (!IsWebScheme(finalUrl) || reply->bytesAvailable() > kMaxPageBytes) {
        emit navigated(url, false);
        return;
    }
    emit navigated(url, show(finalUrl, reply->read(kMaxPageBytes)));
}

QVariant TWebLink::loadResource(int type, const QUrl& name)
{
    // What we refuse is an empty resource rather than none: for none, the
    // document would read a local file by itself.
    const QVariant nothing = QVariant(QByteArray());
    // A page from the web loads nothing more: its pictures would need more
    // requests, and a local file must never show in a page from outside.
    if (!m_current.isLocalFile())
        return nothing;
    // Our own pages may show their own pictures: ordinary files of a
    // reasonable size (a device such as /dev/zero never ends).
    const QUrl resolved = m_current.resolved(name);
    if (!resolved.isLocalFile())
        return nothing;
    const QFileInfo info(resolved.toLocalFile());
    if (!info.isFile() || info.size() > kMaxPageBytes)
        return nothing;
    const QVariant loaded = QTextBrowser::loadResource(type, resolved);
    return loaded.isValid() ? loaded : nothing;
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
    webLink->setLocalRoot(WebBaseUrl(m_folder));
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
