#pragma once
// The notes on the command line, without a window or a display:
//   qnweeknote [--folder DIR] search TEXT
//   qnweeknote [--folder DIR] export --from YYYY-MM-DD --to YYYY-MM-DD --format md|html|txt [--output FILE]
//   qnweeknote [--folder DIR] backup
// They only read the notes database (a read transaction through SQLite), so
// they work while the notebook has it open. Exit codes: 0 done (search: some
// day found), 1 search found nothing, 2 an error or a bad argument (a
// Chinese usage message on standard error).

#include <QString>
#include <QStringList>

#include <cstdio>

namespace qn {

class ProgramFolder;

inline constexpr int kCommandDone = 0;
inline constexpr int kCommandFoundNothing = 1;
inline constexpr int kCommandFailed = 2;

// The usage of the commands.
QString NotesCommandUsage();

// Runs command with its arguments on the notes of folder, writing to out and
// err. An application object (a core one for search and backup, a GUI one
// for export) must exist.
int RunNotesCommand(const ProgramFolder& folder, const QString& command, const QStringList& arguments, FILE* out,
                    FILE* err);

// True when command needs a GUI application object (rich text).
bool NotesCommandNeedsGui(const QString& command);

}  // namespace qn
