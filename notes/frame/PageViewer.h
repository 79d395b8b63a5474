#pragma once
// A small window that shows one of the product's pages (the help) with the
// web panel's browser, for a desktop where no program opens them. Links
// lead to the next page in the same window.

#include <QUrl>
#include <QWidget>

namespace qn {

class TWebLink;

class TPageViewer : public QWidget {
    Q_OBJECT
public:
    // siteBase: where our pages are (WebBaseUrl); links lead only there.
    explicit TPageViewer(const QUrl& siteBase, QWidget* parent = nullptr);

    // Shows the page and brings the window to the front.
    void ShowPage(const QUrl& url);
    TWebLink* view() const { return m_view; }

private:
    TWebLink* m_view = nullptr;
};

}  // namespace qn
