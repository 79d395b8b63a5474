#pragma once
// Export of the shown week to a text file: for each box a heading with the
// day and date, a line of two spaces, the box's text, and two spaces again.

#include "core/ProgramFolder.h"
#include "core/uGlobal.h"

#include <QString>
#include <QStringList>

#include <array>

// The 24 entries of a week (an entry may hold several lines of a box).
// boxTexts: the plain text of boxes 1..6, lines separated by CR LF.
QStringList BuildExportEntries(const TWeekConArray& week, const std::array<QString, 6>& boxTexts);

// "周 20100601143015": the name proposed for the export of a date-time.
QString ProposedExportName(double dateTime);

// The file an export really writes for the name typed in the save dialog:
// ".txt" is always appended, as the notebook has always done, even to a name
// that already ends in ".txt" (notes.txt gives notes.txt.txt).
QString ExportTargetPath(const QString& typedName);

// True when something already has that name (a file, a folder, a link, even
// one that points nowhere): writing there needs the user's yes first.
bool ExportTargetExists(const QString& path);

// The question asked before an existing file is replaced; it names the file
// that will really be written.
QString ReplaceExportQuestion(const QString& path);

// Writes the entries, each followed by CR LF, in GB18030 (the same bytes as
// GBK for every GBK character, and characters outside GBK are kept).
// All or nothing: on any failure an existing file is unchanged. Replaces an
// existing file; a symbolic link is itself replaced, the file it points to
// is never written. The file is readable by its owner only (0600). Returns
// the message for the user, empty on success.
QString WriteExportFile(const QString& path, const QStringList& entries);

// The folder the save dialog opens in: the folder of the last export (of
// this run, or of an earlier one through Data/ExportFolder.ini) while it
// still exists; otherwise the user's documents folder.
QString ExportStartFolder(const qn::ProgramFolder& folder);

// Remembers the folder of a file just exported, for the rest of this run
// and in Data/ExportFolder.ini (one line: the folder) for the next ones. A
// failure to write that file only loses the convenience: nothing is said.
void RememberExportFolder(const qn::ProgramFolder& folder, const QString& exportedFile);
