#pragma once
// The result list of a search: one line per day whose note holds the text,
// newest first, with the date, its lunar date and the note's line around the
// first hit. Fetched a page at a time; the list view asks for the next page
// when it scrolls to the end.

#include "store/NoteSearch.h"

#include <QAbstractListModel>
#include <QString>

#include <string>
#include <vector>

class TSearchResults : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        KeyRole = Qt::UserRole + 1,  // the day key (QString)
        HtmlRole,                    // the line with the hits marked
    };
    static constexpr int kPageSize = 50;

    TSearchResults(qn::NoteSearch& search, QObject* parent = nullptr);

    // Shows the first page for text (nothing for an empty text).
    void SetQuery(const QString& text);
    QString query() const { return m_query; }
    // The last page came from the index (else from reading every note).
    bool fromIndex() const { return m_fromIndex; }
    qn::StoreStatus status() const { return m_status; }
    bool hasMore() const { return m_more; }

    std::string KeyAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The line of a hit, as plain text and with the hits marked.
    static QString LineText(const qn::SearchHit& hit);
    static QString LineHtml(const qn::SearchHit& hit);

private:
    void Append(const qn::StoreResult<qn::SearchPage>& page);

    qn::NoteSearch& m_search;
    QString m_query;
    std::vector<qn::SearchHit> m_hits;
    bool m_more = false;
    bool m_fromIndex = false;
    qn::StoreStatus m_status = qn::StoreStatus::Ok;
};
