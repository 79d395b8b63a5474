// The web panel under the calendar and the product's pages.

#include "notes/frame/WebPanel.h"
#include "tests/support/DialogTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

using namespace qn;
using namespace qn::testing;

namespace {

// A one-page web server on the loopback interface.
class TinyServer : public QObject {
public:
    explicit TinyServer(QByteArray response) : m_response(std::move(response))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    socket->write(m_response);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

private:
    QTcpServer m_server;
    QByteArray m_response;
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
    void placedAsDesigned();
    void rightClickShowsOnlyTheEmptyMenu_data();
    void rightClickShowsOnlyTheEmptyMenu();
    void showsTheShippedStartPage();
    void missingPageStaysCalm();
    void loadsAPageOverHttp();
    void pageInGbkOverHttp();
    void linksOfAWebPageStayOnTheWeb();
    void unreachableSiteStaysCalm();
    void baseAddress_data();
    void baseAddress();
    void helpAndFeedbackOpenInTheBrowser();
    void shippedPagesAreComplete();
};

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

void WebPanelTest::loadsAPageOverHttp()
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

void WebPanelTest::pageInGbkOverHttp()
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

void WebPanelTest::linksOfAWebPageStayOnTheWeb()
{
    TestFolder t;
    CopyShippedPage(t, "rs/QN4.htm");
    QList<QUrl> opened;
    SetUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
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
        closed = QUrl(QStringLiteral("http://127.0.0.1:%1/rs/QN4.htm").arg(probe.serverPort()));
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
    QTest::newRow("site with a path") << QByteArray("http://example.org/qn/\r\n") << "http://example.org/qn/rs/QN4.htm";
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
    SetUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    QVERIFY(OpenHelpPage(t.folder()));
    QVERIFY(OpenFeedbackPage(t.folder()));
    t.writeBytes("WebBase.ini", "https://example.org\r\n");
    QVERIFY(OpenHelpPage(t.folder()));
    SetUrlOpener({});
    QCOMPARE(opened,
             (QList<QUrl>{QUrl::fromLocalFile(t.folder().root() + "web/help4/qn1.htm"),
                          QUrl::fromLocalFile(t.folder().root() + "web/help4/qn2.htm"),
                          QUrl("https://example.org/help4/qn1.htm")}));
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
