#include "notes/export/ExportWindow.h"

#include "core/Messages.h"
#include "notes/store/ExportFileDialog.h"
#include "notes/store/WeekExport.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString Iso(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
QString Span(const QDate& from, const QDate& to) { return QStringLiteral("%1 至 %2").arg(Iso(from), Iso(to)); }

std::optional<QString> AskForFile(const QString& startFolder, const QString& proposed, QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("导出笔记"));
    return RunExportFileDialog(dialog, startFolder, proposed);
}

}  // namespace

TExportFrm::TExportFrm(Database database, const QDate& day, qn::ProgramFolder folder, QWidget* parent)
    : QDialog(parent), chooseFile(AskForFile), m_database(std::move(database)), m_day(day), m_folder(std::move(folder))
{
    setObjectName(QStringLiteral("ExportFrm"));
    setWindowTitle(QStringLiteral("导出笔记"));

    const QDate monday = day.addDays(1 - day.dayOfWeek());
    const QDate firstOfMonth(day.year(), day.month(), 1);
    rdiWeek = new QRadioButton(QStringLiteral("本周（%1）").arg(Span(monday, monday.addDays(6))), this);
    rdiMonth = new QRadioButton(
        QStringLiteral("本月（%1）").arg(Span(firstOfMonth, firstOfMonth.addMonths(1).addDays(-1))), this);
    rdiYear = new QRadioButton(QStringLiteral("本年（%1 年）").arg(day.year()), this);
    rdiAll = new QRadioButton(QStringLiteral("全部笔记"), this);
    rdiRange = new QRadioButton(QStringLiteral("从"), this);
    rdiWeek->setObjectName(QStringLiteral("rdiWeek"));
    rdiMonth->setObjectName(QStringLiteral("rdiMonth"));
    rdiYear->setObjectName(QStringLiteral("rdiYear"));
    rdiAll->setObjectName(QStringLiteral("rdiAll"));
    rdiRange->setObjectName(QStringLiteral("rdiRange"));
    rdiWeek->setChecked(true);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {rdiWeek, rdiMonth, rdiYear, rdiAll, rdiRange})
        group->addButton(button);

    dtpFrom = new QDateEdit(firstOfMonth, this);
    dtpTo = new QDateEdit(day, this);
    dtpFrom->setObjectName(QStringLiteral("dtpFrom"));
    dtpTo->setObjectName(QStringLiteral("dtpTo"));
    for (QDateEdit* edit : {dtpFrom, dtpTo}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendarPopup(true);
        connect(edit, &QDateEdit::dateChanged, rdiRange, [this] { rdiRange->setChecked(true); });
    }

    cboFormat = new QComboBox(this);
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    cboFormat->addItem(QStringLiteral("Markdown（.md）"), static_cast<int>(ExportFormat::Markdown));
    cboFormat->addItem(QStringLiteral("网页 HTML（.html，保留粗体、斜体、颜色和字号）"),
                       static_cast<int>(ExportFormat::Html));
    cboFormat->addItem(QStringLiteral("纯文本（.txt）"), static_cast<int>(ExportFormat::Text));

    auto* rangeBox = new QGroupBox(QStringLiteral("导出哪些笔记"), this);
    auto* rangeLayout = new QGridLayout(rangeBox);
    rangeLayout->addWidget(rdiWeek, 0, 0, 1, 4);
    rangeLayout->addWidget(rdiMonth, 1, 0, 1, 4);
    rangeLayout->addWidget(rdiYear, 2, 0, 1, 4);
    rangeLayout->addWidget(rdiAll, 3, 0, 1, 4);
    rangeLayout->addWidget(rdiRange, 4, 0);
    rangeLayout->addWidget(dtpFrom, 4, 1);
    rangeLayout->addWidget(new QLabel(QStringLiteral("至"), rangeBox), 4, 2);
    rangeLayout->addWidget(dtpTo, 4, 3);

    auto* formatLayout = new QFormLayout;
    formatLayout->addRow(QStringLiteral("格式："), cboFormat);

    auto* buttons = new QDialogButtonBox(this);
    btnExport = buttons->addButton(QStringLiteral("导出…"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnExport, &QPushButton::clicked, this, [this] {
        if (btnExportClick())
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rangeBox);
    layout->addLayout(formatLayout);
    layout->addWidget(new QLabel(
        QStringLiteral("每周一个标题（含公历和农历日期），没有内容的日子不导出。文件为 UTF-8 编码。"), this));
    layout->addWidget(buttons);
}

ExportFormat TExportFrm::ChosenFormat() const { return static_cast<ExportFormat>(cboFormat->currentData().toInt()); }

std::optional<std::pair<QDate, QDate>> TExportFrm::ChosenRange()
{
    if (rdiWeek->isChecked()) {
        const QDate monday = m_day.addDays(1 - m_day.dayOfWeek());
        return std::make_pair(monday, monday.addDays(6));
    }
    if (rdiMonth->isChecked()) {
        const QDate first(m_day.year(), m_day.month(), 1);
        return std::make_pair(first, first.addMonths(1).addDays(-1));
    }
    if (rdiYear->isChecked())
        return std::make_pair(QDate(m_day.year(), 1, 1), QDate(m_day.year(), 12, 31));
    if (rdiAll->isChecked()) {
        const auto span = StoredDaySpan(m_database());
        if (!span)
            qn::ShowPlainMessage(this, QStringLiteral("还没有任何笔记。"));
        return span;
    }
    if (dtpFrom->date() > dtpTo->date()) {
        qn::ShowPlainMessage(this, QStringLiteral("开始日期不能晚于结束日期。"));
        return std::nullopt;
    }
    return std::make_pair(dtpFrom->date(), dtpTo->date());
}

bool TExportFrm::btnExportClick()
{
    const auto range = ChosenRange();
    if (!range)
        return false;
    const ExportFormat format = ChosenFormat();
    // Years of notes take seconds to read.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const RangeExportResult exported = ExportRange(m_database(), range->first, range->second, format);
    QGuiApplication::restoreOverrideCursor();
    if (exported.status != qn::StoreStatus::Ok) {
        qn::ShowPlainMessage(this, QStringLiteral("无法读取笔记：%1").arg(qn::StatusText(exported.status)));
        return false;
    }
    if (exported.days == 0) {
        qn::ShowPlainMessage(this, QStringLiteral("%1 没有笔记，没有导出。").arg(Span(range->first, range->second)));
        return false;
    }
    const QString suffix = ExportSuffix(format);
    const std::optional<QString> name = chooseFile(
        ExportStartFolder(m_folder), QStringLiteral("笔记 %1.%2").arg(Span(range->first, range->second), suffix), this);
    if (!name)
        return false;
    if (name->isEmpty()) {
        qn::ShowPlainMessage(this, QStringLiteral("文件名不能为空！"));
        return false;
    }
    QString path = *name;
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + suffix;
    if (ExportTargetExists(path) && !qn::AskYesNo(this, qn::kApplicationTitle, ReplaceExportQuestion(path)))
        return false;
    const QString error = WriteExportBytes(path, exported.bytes);
    if (!error.isEmpty()) {
        qn::ShowErrorReport(this, error);
        return false;
    }
    RememberExportFolder(m_folder, path);
    qn::ShowPlainMessage(this, QStringLiteral("已导出 %1 天的笔记到\n%2").arg(exported.days).arg(path));
    return true;
}
