#pragma once
// "导出笔记": the notes of this week, this month, this year, everything or a
// range of days, as Markdown, HTML or plain text, into a file the user names.

#include "core/ProgramFolder.h"
#include "notes/export/RangeExport.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <optional>
#include <utility>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

class TExportFrm : public QDialog {
    Q_OBJECT
public:
    // The connection the notes are read on, asked for at each export (the
    // notebook's may change while the window is open).
    using Database = std::function<sqlite3*()>;

    // day: the day the calendar shows; "this week" etc. are its week, month
    // and year. folder: where the folder of the last export is remembered
    // (the same one the week's own export uses).
    TExportFrm(Database database, const QDate& day, qn::ProgramFolder folder, QWidget* parent = nullptr);

    // The file to write, asked in startFolder with a proposed name; nothing
    // when cancelled. Tests replace it.
    std::function<std::optional<QString>(const QString& startFolder, const QString& proposed, QWidget* parent)>
        chooseFile;

    // The chosen days, or nothing (with the reason shown) when there are none.
    std::optional<std::pair<QDate, QDate>> ChosenRange();
    ExportFormat ChosenFormat() const;
    // Exports the chosen range; true when a file was written.
    bool btnExportClick();

    QRadioButton* rdiWeek = nullptr;
    QRadioButton* rdiMonth = nullptr;
    QRadioButton* rdiYear = nullptr;
    QRadioButton* rdiAll = nullptr;
    QRadioButton* rdiRange = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QComboBox* cboFormat = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    Database m_database;
    QDate m_day;
    qn::ProgramFolder m_folder;
};
