#pragma once
// The small web panel under the calendar (pnlWeb) and the product's web
// pages. The pages ship in the program folder (web/rs/QN4.htm, web/help4/...);
// Data/WebBase.ini may name a web site to take them from instead (one line,
// an https address such as https://example.org).
//
// The view is a QTextBrowser: a full browser engine would add hundreds of
// megabytes for a 311 × 70 panel. Pages come over https through
// QNetworkAccessManager (plain http is refused), or from our own local files.
// A page from the web never loads anything else: no pictures, no style
// sheets and never a local file. A page larger than kMaxPageBytes or nesting
// its tables or blocks deeper than kMaxPageNesting is not shown: Qt's layout
// recurses over nested tables. Failures leave the panel as it is, without a
// message.

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

// Hands a page to the user's browser; calls failed() when no program takes
// it, at once or when the desktop's opener reports the failure later (then
// asynchronously). Tests replace the opener.
using UrlOpener = std::function<void(const QUrl& url, std::function<void()> failed)>;
void SetUrlOpener(UrlOpener opener);  // empty: xdg-open, else QDesktopServices
void OpenUrl(const QUrl& url, std::function<void()> failed = {});

// N_helpClick: the help page in the user's browser; when no program takes
// it, showInside(url) shows it in the program.
void OpenHelpPage(const ProgramFolder& folder, std::function<void(const QUrl&)> showInside);
// N_SubmitClick: the feedback page in the user's browser; when no program
// takes it, tellWhere(message) names the page's place.
void OpenFeedbackPage(const ProgramFolder& folder, std::function<void(const QString&)> tellWhere);
// "无法打开意见反馈页面……": the message naming the feedback page's place.
QString FeedbackPageMessage(const QUrl& url);

// True when html nests tables or blocks deeper than the view can lay out.
bool NestsTooDeep(QStringView html, int limit);

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
    // Pages that nest tables or blocks deeper than this are not shown.
    static constexpr int kMaxPageNesting = 32;

    // Links lead to the next page in this view (a viewer window) rather
    // than to the user's browser (the panel, too small to read a page in).
    void setFollowLinks(bool follow) { m_followLinks = follow; }
    // The folder of our own pages: a link of a local page leads only to a
    // file in it. Without one, local links lead nowhere.
    void setLocalRoot(const QUrl& siteBase);

signals:
    void navigated(const QUrl& url, bool ok);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void finishReply();
    void followLink(const QUrl& link);
    // Shows decoded page bytes from url; false (and nothing changes) when
    // the page is too deeply nested.
    bool show(const QUrl& url, const QByteArray& bytes);

    bool isOurPage(const QUrl& url) const;

    bool m_followLinks = false;
    QString m_localRoot;  // canonical path, empty when there is none
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
