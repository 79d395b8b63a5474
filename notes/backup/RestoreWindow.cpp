#include "notes/backup/RestoreWindow.h"

#include "core/Messages.h"
#include "store/Backup.h"
#include "store/uDM.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <atomic>
#include <thread>

// Counts the days of each copy off the window's thread; the window may close
// first, then the counts go nowhere.
struct TRestoreFrm::Counter {
    std::atomic<bool> stop{false};
    std::thread thread;
    ~Counter()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
};

namespace {

QString SizeText(qint64 bytes)
{
    return QLocale(QLocale::Chinese, QLocale::China).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

}  // namespace

TRestoreFrm::TRestoreFrm(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("RestoreFrm"));
    setWindowTitle(QStringLiteral("恢复备份"));
    resize(520, 380);

    tblCopies = new QTableWidget(0, 3, this);
    tblCopies->setObjectName(QStringLiteral("tblCopies"));
    tblCopies->setHorizontalHeaderLabels(
        {QStringLiteral("备份时间"), QStringLiteral("大小"), QStringLiteral("笔记天数")});
    tblCopies->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblCopies->setSelectionMode(QAbstractItemView::SingleSelection);
    tblCopies->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblCopies->verticalHeader()->hide();
    tblCopies->horizontalHeader()->setSectionResizeMode(MadeColumn, QHeaderView::Stretch);

    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setWordWrap(true);
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    btnRestore = buttons->addButton(QStringLiteral("恢复所选备份"), QDialogButtonBox::ActionRole);
    btnClose = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    btnRestore->setObjectName(QStringLiteral("btnRestore"));
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnRestore, &QPushButton::clicked, this, [this] {
        if (btnRestoreClick())
            accept();
    });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblCopies, &QTableWidget::itemSelectionChanged, this,
            [this] { btnRestore->setEnabled(!tblCopies->selectedItems().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("笔记每天自动备份，关闭程序时也会备份。保留最近 7 天、4 周和 12 个月的备份。"), this));
    layout->addWidget(tblCopies, 1);
    layout->addWidget(lblFolder);
    layout->addWidget(buttons);
    Refresh();
}

TRestoreFrm::~TRestoreFrm() = default;

bool TRestoreFrm::AskToRestore(const QString& text, QWidget* parent)
{
    return qn::AskYesNo(parent, QStringLiteral("恢复备份"), text);
}

void TRestoreFrm::Refresh()
{
    m_counter.reset();
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(m_dm.databasePath());
    tblCopies->setRowCount(static_cast<int>(copies.size()));
    QStringList paths;
    for (int row = 0; row < static_cast<int>(copies.size()); ++row) {
        const qn::BackupCopy& copy = copies[static_cast<size_t>(row)];
        auto* made = new QTableWidgetItem(copy.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        made->setData(Qt::UserRole, copy.path);
        tblCopies->setItem(row, MadeColumn, made);
        tblCopies->setItem(row, SizeColumn, new QTableWidgetItem(SizeText(copy.bytes)));
        tblCopies->setItem(row, DaysColumn, new QTableWidgetItem(QStringLiteral("…")));
        paths << copy.path;
    }
    lblFolder->setText(copies.empty()
                           ? QStringLiteral("还没有备份。备份保存在 %1").arg(qn::BackupFolderOf(m_dm.databasePath()))
                           : QStringLiteral("备份保存在 %1").arg(qn::BackupFolderOf(m_dm.databasePath())));
    if (!copies.empty())
        tblCopies->selectRow(0);
    btnRestore->setEnabled(!copies.empty());

    // Counting reads every note of every copy: off the window's thread.
    m_counter = std::make_shared<Counter>();
    QPointer<TRestoreFrm> window(this);
    Counter* counter = m_counter.get();
    counter->thread = std::thread([window, counter, paths] {
        for (int row = 0; row < paths.size() && !counter->stop.load(); ++row) {
            const int days = qn::DaysWithNotes(paths[row]);
            QMetaObject::invokeMethod(window.data(), [window, row, days, path = paths[row]] {
                if (!window)
                    return;
                QTableWidgetItem* made = window->tblCopies->item(row, MadeColumn);
                QTableWidgetItem* count = window->tblCopies->item(row, DaysColumn);
                if (made && count && made->data(Qt::UserRole).toString() == path)
                    count->setText(days >= 0 ? QStringLiteral("%1 天").arg(days) : QStringLiteral("无法读取"));
            });
        }
    });
}

bool TRestoreFrm::btnRestoreClick()
{
    const QList<QTableWidgetItem*> selected = tblCopies->selectedItems();
    if (selected.isEmpty())
        return false;
    const QTableWidgetItem* made = tblCopies->item(selected.first()->row(), MadeColumn);
    const QString path = made->data(Qt::UserRole).toString();
    if (!confirm(
            QStringLiteral("用 %1 的备份替换现在的全部笔记吗？\n\n替换之前会先备份现在的笔记，之后仍可以恢复回来。")
                .arg(made->text()),
            this))
        return false;
    m_counter.reset();
    if (beforeRestore)
        beforeRestore();
    const QString error = RestoreCopy(m_dm, path);
    if (!error.isEmpty()) {
        qn::ShowPlainMessage(this, error);
        Refresh();
        return false;
    }
    emit restored();
    return true;
}
