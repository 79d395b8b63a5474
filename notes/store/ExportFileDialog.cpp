#include "notes/store/ExportFileDialog.h"

#include <QFileDialog>

std::optional<QString> RunExportFileDialog(QFileDialog& dialog, const QString& startFolder, const QString& proposed)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(startFolder);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}
