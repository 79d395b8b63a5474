#include "notes/search/SearchResults.h"

#include "core/DayTexts.h"

namespace {

QString DayPart(const std::string& key)
{
    const std::optional<double> date = qn::DateOfKey(key);
    if (!date)
        return QString::fromStdString(key);
    QString text = qn::IsoDateText(*date) + QLatin1Char(' ') + qn::NoteDayWord(*date);
    const QString lunar = qn::LunarDateText(*date);
    if (!lunar.isEmpty())
        text += QLatin1Char(' ') + lunar;
    return text;
}

}  // namespace

TSearchResults::TSearchResults(qn::NoteSearch& search, QObject* parent) : QAbstractListModel(parent), m_search(search)
{
}

void TSearchResults::SetQuery(const QString& text)
{
    beginResetModel();
    m_query = text;
    m_hits.clear();
    m_more = false;
    m_status = qn::StoreStatus::Ok;
    m_fromIndex = false;
    endResetModel();
    if (!text.isEmpty())
        Append(m_search.Find(text, kPageSize));
}

void TSearchResults::Append(const qn::StoreResult<qn::SearchPage>& page)
{
    m_status = page.status;
    m_more = page.ok() && page.value.more;
    m_fromIndex = page.value.fromIndex;
    if (page.value.hits.empty())
        return;
    const int first = static_cast<int>(m_hits.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(page.value.hits.size()) - 1);
    m_hits.insert(m_hits.end(), page.value.hits.begin(), page.value.hits.end());
    endInsertRows();
}

std::string TSearchResults::KeyAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_hits[static_cast<size_t>(row)].key : std::string();
}

int TSearchResults::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

QVariant TSearchResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const qn::SearchHit& hit = m_hits[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return LineText(hit);
    case KeyRole: return QString::fromStdString(hit.key);
    case HtmlRole: return LineHtml(hit);
    default: return {};
    }
}

bool TSearchResults::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && m_more; }

void TSearchResults::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent) || m_hits.empty())
        return;
    const std::optional<int> last = qn::DayNumberOfKey(m_hits.back().key);
    if (!last)
        return;
    m_more = false;  // asked once per page, also when the page fails
    Append(m_search.Find(m_query, kPageSize, *last));
}

QString TSearchResults::LineText(const qn::SearchHit& hit)
{
    return DayPart(hit.key) + QStringLiteral("  ") + hit.snippet.text;
}

QString TSearchResults::LineHtml(const qn::SearchHit& hit)
{
    QString html =
        QStringLiteral("<span style=\"color:#4f4f4f\">%1</span>&nbsp;&nbsp;").arg(DayPart(hit.key).toHtmlEscaped());
    const QString& text = hit.snippet.text;
    int at = 0;
    for (const qn::TextSpan& mark : hit.snippet.marks) {
        html += text.mid(at, mark.start - at).toHtmlEscaped();
        html += QStringLiteral("<span style=\"background-color:#ffe27a; color:#000080; font-weight:bold\">%1</span>")
                    .arg(text.mid(mark.start, mark.length).toHtmlEscaped());
        at = mark.start + mark.length;
    }
    html += text.mid(at).toHtmlEscaped();
    return html;
}
