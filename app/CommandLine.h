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
    QString error;  // non-empty: the arguments could not be understood
};

// arguments: without the program name, after Qt has taken its own options.
CommandLine ParseCommandLine(const QStringList& arguments);

// folderInUse: the program folder this start would use (empty: not known).
QString HelpText(const QString& folderInUse = QString());

// True when no display can be reached, so that starting the window system
// would abort: no platform chosen and neither X11 nor Wayland present.
bool NoDisplayAvailable(int argc, char* argv[]);
QString NoDisplayText();

}  // namespace qn
