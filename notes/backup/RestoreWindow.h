#pragma once
// "恢复备份": the backup copies with the time they were made, their size and
// how many days of notes they hold; restoring one first copies the current
// notes, then replaces them and reloads the week.

#include "notes/backup/RestoreCopy.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;
class TDM;

class TRestoreFrm : public QDialog {
    Q_OBJECT
public:
    enum Column { MadeColumn, SizeColumn, DaysColumn };

    TRestoreFrm(TDM& dm, QWidget* parent = nullptr);
    ~TRestoreFrm() override;

    // Asked before a restore; tests replace it.
    AskUser confirm = [](const QString& text, QWidget* parent) { return AskToRestore(text, parent); };
    // Run once the user has confirmed, before the notes are replaced: the
    // main window stores what still waits in memory.
    std::function<void()> beforeRestore;

    // Lists the copies again; their day counts follow from a thread of their own.
    void Refresh();
    // Restores the selected copy; true when it was restored.
    bool btnRestoreClick();
    static bool AskToRestore(const QString& text, QWidget* parent);

    QTableWidget* tblCopies = nullptr;
    QLabel* lblFolder = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* btnClose = nullptr;

signals:
    // The notes were replaced: the week on screen must be loaded again.
    void restored();

private:
    struct Counter;
    TDM& m_dm;
    std::shared_ptr<Counter> m_counter;
};
