// The web panel under the calendar and the product's pages.

#include "notes/frame/PageViewer.h"
#include "notes/frame/WebPanel.h"
#include "tests/support/DialogTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextDocument>

using namespace qn;
using namespace qn::testing;

namespace {

// A one-page https server on the loopback interface, with a certificate for
// 127.0.0.1 that the test trusts (tests/notes/dialogs/fixtures).
class TinyServer : public QObject {
public:
    explicit TinyServer(QByteArray response) : m_response(std::move(response))
    {
        m_server.setSslConfiguration(ServerConfiguration());
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QSslServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++m_connections;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    socket->write(m_response);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QUrl url(const QString& path, const char* scheme = "https") const
    {
        return QUrl(
            QStringLiteral("%1://127.0.0.1:%2%3").arg(QLatin1String(scheme)).arg(m_server.serverPort()).arg(path));
    }
    int connections() const { return m_connections; }

    static QSslCertificate Certificate()
    {
        QFile f(QStringLiteral(QN_FIXTURE_DIR "/loopback-cert.pem"));
        return f.open(QIODevice::ReadOnly) ? QSslCertificate(f.readAll()) : QSslCertificate();
    }

private:
    static QSslConfiguration ServerConfiguration()
    {
        QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
        QFile key(QStringLiteral(QN_FIXTURE_DIR "/loopback-key.pem"));
        if (key.open(QIODevice::ReadOnly))
            conf.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
        conf.setLocalCertificate(Certificate());
        conf.setPeerVerifyMode(QSslSocket::VerifyNone);
        return conf;
    }

    QSslServer m_server;
    QByteArray m_response;
    int m_connections = 0;
};

QList<QMenu*> VisibleMenus()
{
    QList<QMenu*> menus;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible())
            menus.append(menu);
    return menus;
}

void CopyShippedPage(const TestFolder& t, const QString& relative)
{
    const QString target = t.folder().root() + "web/" + relative;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QVERIFY(QFile::copy(QStringLiteral(QN_SOURCE_WEB_DIR "/") + relative, target));
}

}  // namespace

class WebPanelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void placedAsDesigned();
    void rightClickShowsOnlyTheEmptyMenu_data();
    void rightClickShowsOnlyTheEmptyMenu();
    void showsTheShippedStartPage();
    void missingPageStaysCalm();
    void loadsAPageOverHttps();
    void pageInGbkOverHttps();
    void plainHttpIsRefused();
    void aWebPageNeverLoadsLocalFiles();
    void tooLargeOrTooDeepPagesAreNotShown_data();
    void tooLargeOrTooDeepPagesAreNotShown();
    void linksOfAWebPageStayOnTheWeb();
    void unreachableSiteStaysCalm();
    void baseAddress_data();
    void baseAddress();
    void helpAndFeedbackOpenInTheBrowser();
    void helpShowsInsideAndFeedbackIsNamedWhenNoProgramOpensThem();
    void desktopOpenerFailureIsNoticed();
    void shippedPagesAreComplete();
};

void WebPanelTest::initTestCase()
{
    // The client trusts the loopback server's own certificate, and only that.
    const QSslCertificate certificate = TinyServer::Certificate();
    QVERIFY(!certificate.isNull());
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.addCaCertificate(certificate);
    QSslConfiguration::setDefaultConfiguration(conf);
}

void WebPanelTest::placedAsDesigned()
{
    TestFolder t;
    TWebPanel panel(t.folder());
    QCOMPARE(panel.objectName(), QString("pnlWeb"));
    QCOMPARE(panel.size(), QSize(311, 70));
    QCOMPARE(panel.webLink->objectName(), QString("webLink"));
    QCOMPARE(panel.webLink->geometry(), QRect(-14, -19, 2013, 844));
    QCOMPARE(panel.pmEmpty->objectName(), QString("pmEmpty"));
    QVERIFY(panel.pmEmpty->actions().isEmpty());
}

void WebPanelTest::rightClickShowsOnlyTheEmptyMenu_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("page") << "viewport";
    QTest::newRow("browser") << "browser";
    QTest::newRow("panel") << "panel";
    QTest::newRow("scroll bar") << "scrollbar";
}

void WebPanelTest::rightClickShowsOnlyTheEmptyMenu()
{
    QFETCH(QString, target);
    TestFolder t;
    CopyShippedPage(t, "rs/QN4.htm");
    TWebPanel panel(t.folder());
    panel.show();
    panel.NavigateStartPage();
    panel.webLink->selectAll();  // a selection would give the browser's menu a "copy"
    QSignalSpy shown(panel.pmEmpty, &QMenu::aboutToShow);

    QWidget* widget = &panel;
    if (target == "viewport")
        widget = panel.webLink->viewport();
    else if (target == "browser")
        widget = panel.webLink;
    else if (target == "scrollbar")
        widget = panel.webLink->verticalScrollBar();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(30, 30), widget->mapToGlobal(QPoint(30, 30)));
    QApplication::sendEvent(widget, &event);
    QCOMPARE(shown.size(), 1);
    for (QMenu* menu : VisibleMenus())
        QCOMPARE(menu, panel.pmEmpty);
    QVERIFY(panel.pmEmpty->actions().isEmpty());
    panel.pmEmpty->close();
}

void WebPanelTest::showsTheShippedStartPage()
{
    TestFolder t;
    CopyShippedPage(t, "rs/QN4.htm");
    TWebPanel panel(t.folder());
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.NavigateStartPage();
    QCOMPARE(navigated.size(), 2);  // about:blank, then the start page
    QCOMPARE(navigated.at(0).at(0).toUrl(), QUrl("about:blank"));
    QVERIFY(navigated.at(1).at(1).toBool());
    QVERIFY(panel.webLink->toPlainText().contains(QStringLiteral("QN周记事本")));
    QVERIFY(panel.webLink->toPlainText().contains(QStringLiteral("帮助说明")));
    QVERIFY(RecordedMessages().isEmpty());
}

void WebPanelTest::missingPageStaysCalm()
{
    TestFolder t;  // no web/ folder in it
    TWebPanel panel(t.folder());
    panel.webLink->setHtml("<p>before</p>");
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(QUrl::fromLocalFile(t.folder().root() + "web/rs/none.htm"));
    QCOMPARE(navigated.size(), 1);
    QVERIFY(!navigated.at(0).at(1).toBool());
    QCOMPARE(panel.webLink->toPlainText(), QString("before"));  // unchanged
    QVERIFY(RecordedMessages().isEmpty());
}

void WebPanelTest::loadsAPageOverHttps()
{
    TestFolder t;
    TinyServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
                      + QStringLiteral("<p>来自网站的页面</p>").toUtf8());
    TWebPanel panel(t.folder());
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(server.url("/rs/QN4.htm"));
    QVERIFY(navigated.wait(10000));
    QVERIFY(navigated.at(0).at(1).toBool());
    QCOMPARE(panel.webLink->toPlainText(), QStringLiteral("来自网站的页面"));
    QVERIFY(!panel.webLink->isLoading());
}

void WebPanelTest::pageInGbkOverHttps()
{
    TestFolder t;
    TinyServer server(
        "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
        "<html><head><meta charset=\"gbk\"></head><body><p>\xc4\xe3\xba\xc3</p></body></html>");
    TWebPanel panel(t.folder());
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(server.url("/rs/QN4.htm"));
    QVERIFY(navigated.wait(10000));
    QCOMPARE(panel.webLink->toPlainText(), QStringLiteral("你好"));
}

void WebPanelTest::plainHttpIsRefused()
{
    TestFolder t;
    TinyServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>plain</p>");
    TWebPanel panel(t.folder());
    panel.webLink->setHtml("<p>before</p>");
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(server.url("/rs/QN4.htm", "http"));
    QCOMPARE(navigated.size(), 1);  // at once, without asking the network
    QVERIFY(!navigated.at(0).at(1).toBool());
    QCOMPARE(panel.webLink->toPlainText(), QString("before"));
    QCOMPARE(server.connections(), 0);
}

void WebPanelTest::aWebPageNeverLoadsLocalFiles()
{
    TestFolder t;
    // A picture that a local page of ours may show.
    const QString picture = t.folder().root() + "web/rs/pic.png";
    QDir().mkpath(QFileInfo(picture).absolutePath());
    QImage(4, 4, QImage::Format_RGB32).save(picture);
    const QString page = QStringLiteral(
                             "<p>page</p><img src=\"%1\"><img src=\"file:///dev/zero\">"
                             "<link rel=\"stylesheet\" href=\"file:///etc/hostname\">")
                             .arg(QUrl::fromLocalFile(picture).toString());
    TinyServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + page.toUtf8());
    TWebPanel panel(t.folder());
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(server.url("/rs/QN4.htm"));
    QVERIFY(navigated.wait(10000));
    QVERIFY(navigated.at(0).at(1).toBool());
    // Nothing is read: what the view asks for comes back empty.
    QTextDocument* doc = panel.webLink->document();
    const auto loaded = [doc](QTextDocument::ResourceType type, const QUrl& url) {
        const QVariant resource = doc->resource(type, url);
        return resource.canConvert<QByteArray>() ? !resource.toByteArray().isEmpty() : resource.isValid();
    };
    QVERIFY(!loaded(QTextDocument::ImageResource, QUrl::fromLocalFile(picture)));
    QVERIFY(!loaded(QTextDocument::ImageResource, QUrl("file:///dev/zero")));
    QVERIFY(!loaded(QTextDocument::StyleSheetResource, QUrl("file:///etc/hostname")));

    // The same page from our own folder shows its picture, but never a device.
    const QString local = t.folder().root() + "web/rs/local.htm";
    QFile file(local);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(page.toUtf8());
    file.close();
    panel.webLink->Navigate(QUrl::fromLocalFile(local));
    QVERIFY(navigated.last().at(1).toBool());
    QVERIFY(loaded(QTextDocument::ImageResource, QUrl::fromLocalFile(picture)));
    QVERIFY(!loaded(QTextDocument::ImageResource, QUrl("file:///dev/zero")));
}

void WebPanelTest::tooLargeOrTooDeepPagesAreNotShown_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::newRow("3000 nested tables") << QByteArray("<table><tr><td>").repeated(3000) + "x";
    QTest::newRow("nested lists") << QByteArray("<ul><li>").repeated(500) + "x";
    QTest::newRow("over a megabyte") << "<p>" + QByteArray(TWebLink::kMaxPageBytes, 'a') + "</p>";
}

void WebPanelTest::tooLargeOrTooDeepPagesAreNotShown()
{
    QFETCH(QByteArray, page);
    TestFolder t;
    const QString path = t.folder().root() + "page.htm";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(page);
    file.close();
    TWebPanel panel(t.folder());
    panel.webLink->setHtml("<p>before</p>");
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(QUrl::fromLocalFile(path));
    QCOMPARE(navigated.size(), 1);
    QVERIFY(!navigated.at(0).at(1).toBool());
    QCOMPARE(panel.webLink->toPlainText(), QString("before"));

    TinyServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + page);
    panel.webLink->Navigate(server.url("/rs/QN4.htm"));
    QVERIFY(navigated.wait(10000));
    QVERIFY(!navigated.last().at(1).toBool());
    QCOMPARE(panel.webLink->toPlainText(), QString("before"));
}

void WebPanelTest::linksOfAWebPageStayOnTheWeb()
{
    TestFolder t;
    CopyShippedPage(t, "rs/QN4.htm");
    QList<QUrl> opened;
    SetUrlOpener([&](const QUrl& url, std::function<void()>) { opened.append(url); });
    TWebPanel panel(t.folder());
    panel.NavigateStartPage();  // a local page: its local links open
    emit panel.webLink->anchorClicked(QUrl("../help4/qn1.htm"));
    TinyServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>web</p>");
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(server.url("/rs/QN4.htm"));
    QVERIFY(navigated.wait(10000));
    emit panel.webLink->anchorClicked(QUrl("file:///etc/passwd"));  // refused
    emit panel.webLink->anchorClicked(QUrl("/help4/qn2.htm"));
    SetUrlOpener({});
    QCOMPARE(opened,
             (QList<QUrl>{QUrl::fromLocalFile(t.folder().root() + "web/help4/qn1.htm"), server.url("/help4/qn2.htm")}));
}

void WebPanelTest::unreachableSiteStaysCalm()
{
    TestFolder t;
    QUrl closed;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        closed = QUrl(QStringLiteral("https://127.0.0.1:%1/rs/QN4.htm").arg(probe.serverPort()));
    }  // nobody listens there any more
    TWebPanel panel(t.folder());
    panel.webLink->setHtml("<p>before</p>");
    QSignalSpy navigated(panel.webLink, &TWebLink::navigated);
    panel.webLink->Navigate(closed);
    QVERIFY(navigated.wait(10000));
    QVERIFY(!navigated.at(0).at(1).toBool());
    QCOMPARE(panel.webLink->toPlainText(), QString("before"));
    QVERIFY(RecordedMessages().isEmpty());
}

void WebPanelTest::baseAddress_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QString>("expected");  // "" = the local web/ folder
    QTest::newRow("none") << QByteArray() << "";
    QTest::newRow("https site") << QByteArray("https://example.org\r\n") << "https://example.org/rs/QN4.htm";
    QTest::newRow("site with a path") << QByteArray("https://example.org/qn/\r\n")
                                      << "https://example.org/qn/rs/QN4.htm";
    QTest::newRow("plain http refused") << QByteArray("http://example.org\r\n") << "";
    QTest::newRow("blanks around") << QByteArray("  https://example.org  \r\n") << "https://example.org/rs/QN4.htm";
    QTest::newRow("script refused") << QByteArray("javascript:alert(1)\r\n") << "";
    QTest::newRow("local file refused") << QByteArray("file:///etc\r\n") << "";
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x00zz", 5) << "";
    QTest::newRow("empty line") << QByteArray("\r\n") << "";
}

void WebPanelTest::baseAddress()
{
    QFETCH(QByteArray, setting);
    QFETCH(QString, expected);
    TestFolder t;
    QDir().mkpath(t.folder().root() + "web");
    if (!setting.isEmpty())
        t.writeBytes("WebBase.ini", setting);
    const QUrl url = WebPageUrl(t.folder(), kStartPagePath);
    if (expected.isEmpty())
        QCOMPARE(url, QUrl::fromLocalFile(t.folder().root() + "web/rs/QN4.htm"));
    else
        QCOMPARE(url, QUrl(expected));
}

void WebPanelTest::helpAndFeedbackOpenInTheBrowser()
{
    TestFolder t;
    QDir().mkpath(t.folder().root() + "web");
    QList<QUrl> opened;
    SetUrlOpener([&](const QUrl& url, std::function<void()>) { opened.append(url); });
    int fallbacks = 0;
    OpenHelpPage(t.folder(), [&](const QUrl&) { ++fallbacks; });
    OpenFeedbackPage(t.folder(), [&](const QString&) { ++fallbacks; });
    t.writeBytes("WebBase.ini", "https://example.org\r\n");
    OpenHelpPage(t.folder(), [&](const QUrl&) { ++fallbacks; });
    SetUrlOpener({});
    QCOMPARE(opened,
             (QList<QUrl>{QUrl::fromLocalFile(t.folder().root() + "web/help4/qn1.htm"),
                          QUrl::fromLocalFile(t.folder().root() + "web/help4/qn2.htm"),
                          QUrl("https://example.org/help4/qn1.htm")}));
    QCOMPARE(fallbacks, 0);
}

void WebPanelTest::helpShowsInsideAndFeedbackIsNamedWhenNoProgramOpensThem()
{
    TestFolder t;
    CopyShippedPage(t, "help4/qn1.htm");
    CopyShippedPage(t, "help4/qn2.htm");
    SetUrlOpener([](const QUrl&, std::function<void()> failed) { failed(); });
    TPageViewer viewer(WebBaseUrl(t.folder()));
    OpenHelpPage(t.folder(), [&](const QUrl& url) { viewer.ShowPage(url); });
    QString message;
    OpenFeedbackPage(t.folder(), [&](const QString& text) { message = text; });
    SetUrlOpener({});

    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.view()->currentUrl(), QUrl::fromLocalFile(t.folder().root() + "web/help4/qn1.htm"));
    QVERIFY(viewer.view()->toPlainText().contains(QStringLiteral("农历")));
    QVERIFY(message.contains(QDir::toNativeSeparators(t.folder().root() + "web/help4/qn2.htm")));
    QVERIFY(message.contains(QStringLiteral("意见反馈")));

    // In the viewer a link leads to the next page in the same window.
    emit viewer.view()->anchorClicked(QUrl("qn2.htm"));
    QCOMPARE(viewer.view()->currentUrl(), QUrl::fromLocalFile(t.folder().root() + "web/help4/qn2.htm"));
    QVERIFY(viewer.view()->toPlainText().contains(QStringLiteral("意见反馈")));
    emit viewer.view()->anchorClicked(QUrl("file:///etc/hostname"));  // not ours: nothing happens
    QCOMPARE(viewer.view()->currentUrl(), QUrl::fromLocalFile(t.folder().root() + "web/help4/qn2.htm"));
}

void WebPanelTest::desktopOpenerFailureIsNoticed()
{
    // xdg-open that finds no program for the page ends with an error; the
    // failure arrives when it has ended.
    TestFolder t;
    const QString bin = t.folder().root() + "bin";
    QDir().mkpath(bin);
    QFile script(bin + "/xdg-open");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"no method available for opening '$1'\" >&2\nexit 3\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());
    bool failed = false;
    OpenUrl(QUrl("https://example.org/help4/qn1.htm"), [&] { failed = true; });
    qputenv("PATH", path);
    QTRY_VERIFY_WITH_TIMEOUT(failed, 20000);
}

void WebPanelTest::shippedPagesAreComplete()
{
    // The help explains every part of the program.
    QFile help(QStringLiteral(QN_SOURCE_WEB_DIR "/help4/qn1.htm"));
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll());
    for (const char* topic :
         {"周一", "农历", "复制", "撤销", "内容导出", "全透明效果", "半透明效果", "悬浮窗", "登录密码",
          "Data/UserData.mdb", "--folder DIR", "--help", "WebBase.ini", "cn-holidays.csv", "holiday-cn", "MIT"})
        QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
    QFile feedback(QStringLiteral(QN_SOURCE_WEB_DIR "/help4/qn2.htm"));
    QVERIFY(feedback.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(feedback.readAll()).contains(QStringLiteral("意见反馈")));
}

QTEST_MAIN(WebPanelTest)
#include "WebPanel_test.moc"
