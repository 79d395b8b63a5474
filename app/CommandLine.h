#pragma once
// The notebook's command line.

#include <QString>
#include <QStringList>

namespace qn {

struct CommandLine {
    QString folder;  // --folder DIR: the program folder (default: the executable's)
    bool calendarDemo = false;
    bool help = false;
    bool version = false;
    // A command on the notes, run without a window: "search", "export" or
    // "backup", with the arguments after it.
    QString command;
    QStringList commandArguments;
    QString error;  // non-empty: the arguments could not be understood
};

// True for the words that start a command on the notes.
bool IsNotesCommand(const QString& word);

// arguments: without the program name, after Qt has taken its own options.
CommandLine ParseCommandLine(const QStringList& arguments);

// folderInUse: the program folder this start would use (empty: not known).
QString HelpText(const QString& folderInUse = QString());

// True when no display can be reached, so that starting the window system
// would abort: no platform chosen and neither X11 nor Wayland present.
bool NoDisplayAvailable(int argc, char* argv[]);
QString NoDisplayText();

}  // namespace qn
