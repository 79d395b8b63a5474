#pragma once
// The save dialog of both exports (one week, any range).

#include <QString>

#include <optional>

class QFileDialog;

// Runs `dialog` (title, name filter and so on already set) as a save dialog in
// `startFolder` with `proposed` filled in. Empty when cancelled. The dialog
// never asks about replacing a file: the export asks itself, about the file it
// really writes, which may get a suffix yet.
std::optional<QString> RunExportFileDialog(QFileDialog& dialog, const QString& startFolder, const QString& proposed);
