#pragma once
// The small web panel under the calendar (pnlWeb) and the product's web
// pages. The pages ship in the program folder (web/rs/QN4.htm, web/help4/...);
// Data/WebBase.ini may name a web site to take them from instead (one line,
// an http or https address such as https://example.org).
//
// The view is a QTextBrowser: a full browser engine would add hundreds of
// megabytes for a 311 × 70 panel. Pages over http(s) come through
// QNetworkAccessManager; local pages load directly. Failures leave the panel
// as it is, without a message.

#include "core/ProgramFolder.h"

#include <QFrame>
#include <QNetworkReply>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include <functional>

class QMenu;
class QNetworkAccessManager;

namespace qn {

// The base address of the product's pages: the https/http address in
// Data/WebBase.ini, or else the program folder's web/ folder, or else (no
// such folder, e.g. with --folder) the web/ folder beside the executable.
QUrl WebBaseUrl(const ProgramFolder& folder);
// A page of the product's site, e.g. WebPageUrl(folder, "/help4/qn1.htm").
QUrl WebPageUrl(const ProgramFolder& folder, const QString& path);

inline const QString kStartPagePath = QStringLiteral("/rs/QN4.htm");
inline const QString kHelpPagePath = QStringLiteral("/help4/qn1.htm");
inline const QString kFeedbackPagePath = QStringLiteral("/help4/qn2.htm");

// Opens a page in the user's browser. Tests replace the opener.
using UrlOpener = std::function<bool(const QUrl&)>;
void SetUrlOpener(UrlOpener opener);  // empty: QDesktopServices::openUrl
// N_helpClick / N_SubmitClick.
bool OpenHelpPage(const ProgramFolder& folder);
bool OpenFeedbackPage(const ProgramFolder& folder);

// webLink: shows one page; http(s) pages are fetched, local pages read.
class TWebLink : public QTextBrowser {
    Q_OBJECT
public:
    explicit TWebLink(QWidget* parent = nullptr);

    // "about:blank" empties the view. Anything that fails leaves the view as
    // it was.
    void Navigate(const QUrl& url);
    QUrl currentUrl() const { return m_current; }
    // True while an http(s) page is being fetched.
    bool isLoading() const { return m_reply != nullptr; }

    // Pages larger than this are not shown.
    static constexpr qint64 kMaxPageBytes = 1024 * 1024;

signals:
    void navigated(const QUrl& url, bool ok);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void finishReply();

    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QUrl m_current;
};

// pnlWeb: a white 311 × 70 panel showing the area of webLink that starts 14
// pixels from its left and 19 from its top; webLink itself is 2013 × 844.
// A right click anywhere in it shows the empty menu pmEmpty and nothing else.
class TWebPanel : public QFrame {
    Q_OBJECT
public:
    explicit TWebPanel(const ProgramFolder& folder, QWidget* parent = nullptr);

    TWebLink* webLink = nullptr;
    QMenu* pmEmpty = nullptr;

    // The main window's first show step: about:blank, then the start page.
    void NavigateStartPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* widget);

    ProgramFolder m_folder;
};

}  // namespace qn
