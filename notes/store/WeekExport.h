#pragma once
// Export of the shown week to a text file: for each box a heading with the
// day and date, a line of two spaces, the box's text, and two spaces again.

#include "core/uGlobal.h"

#include <QString>
#include <QStringList>

#include <array>

// The 24 entries of a week (an entry may hold several lines of a box).
// boxTexts: the plain text of boxes 1..6, lines separated by CR LF.
QStringList BuildExportEntries(const TWeekConArray& week, const std::array<QString, 6>& boxTexts);

// "周 20100601143015": the name proposed for the export of a date-time.
QString ProposedExportName(double dateTime);

// Writes the entries, each followed by CR LF, in GB18030 (the same bytes as
// GBK for every GBK character, and characters outside GBK are kept).
// Replaces an existing file. Returns an error text, empty on success.
QString WriteExportFile(const QString& path, const QStringList& entries);
