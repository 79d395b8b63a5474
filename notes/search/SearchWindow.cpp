#include "notes/search/SearchWindow.h"

#include "notes/search/SearchResults.h"
#include "store/NoteSearch.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Draws a result line with its hits marked; one line high, cut at the edge.
class TResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        QTextDocument line;
        line.setDefaultFont(option.font);
        line.setDocumentMargin(0);
        line.setHtml(index.data(TSearchResults::HtmlRole).toString());
        const QRect area = option.rect.adjusted(4, 0, -4, 0);
        painter->save();
        painter->setClipRect(area);
        painter->translate(area.left(), area.top() + (area.height() - line.size().height()) / 2);
        line.drawContents(painter);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), option.fontMetrics.height() + 10};
    }
};

}  // namespace

TSearchFrm::TSearchFrm(qn::NoteSearch& search, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_search(search), m_results(new TSearchResults(search, this))
{
    setObjectName(QStringLiteral("SearchFrm"));
    setWindowTitle(QStringLiteral("搜索笔记"));
    resize(560, 420);

    edtSearch = new QLineEdit(this);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("输入要找的文字，例如 会议"));
    edtSearch->setClearButtonEnabled(true);
    edtSearch->installEventFilter(this);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    lstResults = new QListView(this);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setModel(m_results);
    lstResults->setItemDelegate(new TResultDelegate(lstResults));
    lstResults->setUniformItemSizes(true);
    lstResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstResults->installEventFilter(this);
    // A light selection keeps the marked hits readable.
    QPalette palette = lstResults->palette();
    palette.setColor(QPalette::Highlight, QColor(0xCC, 0xE8, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    lstResults->setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edtSearch);
    layout->addWidget(lblStatus);
    layout->addWidget(lstResults, 1);

    m_refine = new QTimer(this);
    m_refine->setSingleShot(true);
    connect(m_refine, &QTimer::timeout, this, &TSearchFrm::RefineNow);
    // textChanged carries committed text only: what an input method is
    // still composing never starts a search.
    connect(edtSearch, &QLineEdit::textChanged, this, &TSearchFrm::TextEdited);
    connect(edtSearch, &QLineEdit::returnPressed, this, &TSearchFrm::OpenCurrent);
    connect(lstResults, &QListView::doubleClicked, this, [this] { OpenCurrent(); });
    connect(m_results, &QAbstractItemModel::rowsInserted, this, &TSearchFrm::ShowStatus);
    ShowStatus();
}

void TSearchFrm::ShowSearch()
{
    // The notes may have changed since the list was made.
    if (!isVisible() && !edtSearch->text().isEmpty()) {
        m_results->SetQuery(edtSearch->text());
        ShowStatus();
    }
    show();
    raise();
    activateWindow();
    edtSearch->setFocus(Qt::ShortcutFocusReason);
    edtSearch->selectAll();
}

void TSearchFrm::TextEdited() { m_refine->start(m_search.IndexInStep() ? 0 : kScanPauseMs); }

void TSearchFrm::RefineNow()
{
    m_refine->stop();
    if (edtSearch->text() == m_results->query() && !edtSearch->text().isEmpty())
        return;
    m_results->SetQuery(edtSearch->text());
    if (m_results->rowCount() > 0)
        lstResults->setCurrentIndex(m_results->index(0));
    ShowStatus();
}

void TSearchFrm::ShowStatus()
{
    const QString text = m_results->query();
    const int days = m_results->rowCount();
    QString status;
    if (text.isEmpty())
        status = QStringLiteral("输入文字，在所有笔记中查找。");
    else if (m_results->status() != qn::StoreStatus::Ok)
        status = QStringLiteral("查找失败：%1").arg(qn::StatusText(m_results->status()));
    else if (days == 0)
        status = QStringLiteral("没有找到“%1”。").arg(text);
    else
        status = QStringLiteral("找到 %1 天%2，最近的在前。按回车或双击打开。")
                     .arg(days)
                     .arg(m_results->hasMore() ? QStringLiteral("以上") : QString());
    if (!text.isEmpty() && !m_results->fromIndex())
        status += QStringLiteral("（索引准备中，逐条查找）");
    lblStatus->setText(status);
}

void TSearchFrm::OpenCurrent()
{
    RefineNow();
    QModelIndex current = lstResults->currentIndex();
    if (!current.isValid())
        current = m_results->index(0);
    if (!current.isValid())
        return;
    emit dayChosen(current.data(TSearchResults::KeyRole).toString(), m_results->query());
}

bool TSearchFrm::eventFilter(QObject* watched, QEvent* event)
{
    // Up and down in the field move through the list; the caret stays put.
    if (watched == edtSearch && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            RefineNow();
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(lstResults, &copy);
            return true;
        }
    }
    if (watched == lstResults && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenCurrent();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
