// QN周记事本: entry point. Creates every window once and runs the event loop.

#include "app/BenchHooks.h"
#include "app/CommandLine.h"
#include "app/FontWarmUp.h"
#include "app/NotesCommand.h"
#include "app/SingleInstance.h"
#include "calendar/Clock.h"
#include "calendar_control/CalendarDemo.h"
#include "calendar_control/CalendarFonts.h"
#include "core/Messages.h"
#include "core/PaintProbe.h"
#include "core/ProgramFolder.h"
#include "core/QtTexts.h"
#include "notes/backup/AutoBackup.h"
#include "notes/backup/RestoreCopy.h"
#include "notes/dialogs/untPWSet.h"
#include "notes/dialogs/uSetTrans.h"
#include "notes/frame/uMiniHang.h"
#include "notes/window/uMain.h"
#include "store/uDM.h"
#include "store/WholeFileCheck.h"

#include <QApplication>
#include <QIcon>
#include <QScopeGuard>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

void Print(FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

const char* const kApplicationName = "qnweeknote";

// The folder this start uses: the one on the command line, or the default.
qn::ProgramFolder FolderInUse(const qn::CommandLine& options)
{
    return options.folder.isEmpty() ? qn::ProgramFolder::Default() : qn::ProgramFolder(options.folder);
}

// The windows' icon, in the sizes a window list or task switcher draws
// (packaging/icons); the others scale from the nearest. The launcher and
// the desktops that match the windows to it take the icon theme's sizes.
// Each size here is decoded and sent to the window system at start.
QIcon ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/qnweeknote-%1.png").arg(size), QSize(size, size));
    return icon;
}

// Work the first painting of the window need not wait for runs right after
// it, or after a second when the window is not painted (started minimised).
void AfterFirstPaint(QWidget& window, std::function<void()> work)
{
    auto* probe = new qn::PaintProbe(&window);
    auto pending = std::make_shared<std::function<void()>>(std::move(work));
    auto runOnce = [probe, pending] {
        if (*pending)
            std::exchange(*pending, nullptr)();
        probe->deleteLater();
    };
    probe->Arm(runOnce);
    QTimer::singleShot(1000, probe, runOnce);
}

// The command on the notes the arguments ask for, if any.
qn::CommandLine NotesCommandAsked(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return qn::ParseCommandLine(arguments);
}

int RunNotesCommand(int argc, char* argv[])
{
    // Rich text needs a GUI application; it never needs a display.
    std::unique_ptr<QCoreApplication> app;
    if (qn::NotesCommandNeedsGui(NotesCommandAsked(argc, argv).command)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QLatin1String(kApplicationName));
    const qn::CommandLine options = qn::ParseCommandLine(QCoreApplication::arguments().mid(1));
    const QStringList& arguments = options.commandArguments;
    if (arguments.size() == 1
        && (arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h"))) {
        Print(stdout, qn::NotesCommandUsage());
        return 0;
    }
    return qn::RunNotesCommand(FolderInUse(options), options.command, arguments, stdout, stderr);
}

bool AsksForHelp(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Commands on the notes, help and the missing-display hint work without
    // any window system.
    if (const qn::CommandLine asked = NotesCommandAsked(argc, argv); asked.error.isEmpty() && !asked.command.isEmpty())
        return RunNotesCommand(argc, argv);
    if (AsksForHelp(argc, argv)) {
        // A core application only: it tells where the notes would be kept.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QLatin1String(kApplicationName));
        const qn::CommandLine options = qn::ParseCommandLine(QCoreApplication::arguments().mid(1));
        Print(stdout, qn::HelpText(options.error.isEmpty() ? FolderInUse(options).root() : QString()));
        return 0;
    }
    if (qn::NoDisplayAvailable(argc, argv)) {
        Print(stderr, qn::NoDisplayText());
        return 1;
    }

    qn::FontWarmUp fontWarmUp;
    QApplication app(argc, argv);
    // Its thread is done with Qt's font database before the application goes.
    const auto fontsDone = qScopeGuard([&fontWarmUp] { fontWarmUp.Finish(); });
    fontWarmUp.ApplicationReady();
    // Qt's own dialogs and buttons speak Chinese like the rest of the notebook.
    qn::UseChineseForQtTexts();
    QApplication::setApplicationName(QLatin1String(kApplicationName));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION_TEXT));
    // Matches the launcher file, so desktops group the windows under its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qnweeknote.QNWeekNote"));
    QGuiApplication::setWindowIcon(ApplicationIcon());

    const qn::CommandLine options = qn::ParseCommandLine(QApplication::arguments().mid(1));
    if (!options.error.isEmpty()) {
        Print(stderr, options.error + QLatin1Char('\n') + qn::HelpText());
        return 2;
    }
    if (options.version) {
        Print(stdout, QStringLiteral("qnweeknote %1\n").arg(QApplication::applicationVersion()));
        return 0;
    }

    InstallWindowsFontSubstitutes();
    const qn::NowSource now = qn::SystemNow;

    if (options.calendarDemo)
        return RunCalendarDemo(now);

    const qn::ProgramFolder folder = FolderInUse(options);
    if (!folder.ensureDataFolder()) {
        qn::ShowPlainMessage(nullptr, QStringLiteral("无法创建数据文件夹 %1").arg(folder.dataFolder()));
        return 1;
    }

    qn::SingleInstance instance(folder);
    if (!instance.acquire()) {
        if (!instance.alreadyRunningReached())
            qn::ShowPlainMessage(nullptr, QStringLiteral("QN周记事本已经打开 (%1)。").arg(folder.root()));
        return 0;
    }

    // The data module comes first: creating the main window already reads
    // notes. Before the window only the quick checks run; reading every
    // page of a large notebook would delay it. A damaged notes file gets
    // the offer of its newest sound backup.
    TDM dm(folder);
    if (!dm.OpenForReading(nullptr, false) && !OfferRestoreAtStart(dm))
        return 1;
    TAutoBackup autoBackup(dm);

    TMainFrm mainFrm(dm, folder, now);
    // A login that was not passed ends the program before anything shows.
    if (mainFrm.FTerminateRequested)
        return 0;
    // The box looks apply when the window shows; the password and floating
    // windows are only opened later, so they are made after the first painting.
    qn::TSetTransFrm setTransFrm(folder, &mainFrm);
    mainFrm.AttachWindows(nullptr, &setTransFrm, nullptr);
    std::optional<qn::TpwsetFrm> pwsetFrm;
    std::optional<qn::TMiniHangFrm> miniHangFrm;
    QObject::connect(&instance, &qn::SingleInstance::activationRequested, &mainFrm, &TMainFrm::ComeBack);

    mainFrm.show();
    // Every page is checked beside the window, from its first painting on.
    // Until the check has passed the store only reads and saves wait in
    // memory; a file that fails it is never written.
    qn::BackgroundFileCheck check(dm.databasePath());
    QObject::connect(&check, &qn::BackgroundFileCheck::finished, &mainFrm, &TMainFrm::WholeFileChecked);
    AfterFirstPaint(mainFrm, [&] {
        check.Start();
        pwsetFrm.emplace(folder, &mainFrm);
        miniHangFrm.emplace(folder);
        mainFrm.AttachWindows(&*pwsetFrm, &setTransFrm, &*miniHangFrm);
    });
    // Only under benchmarks/startup (environment variables): timings printed.
    // Armed last, so that its probe is the first to hear of the painting and
    // the time is taken before the work waiting for the painting runs.
    qn::bench::StartHooks(mainFrm, check);
    const int result = QApplication::exec();
    // Everything is saved by now: a copy of what this session wrote. A
    // large notebook takes seconds to copy; the windows are gone first.
    mainFrm.hide();
    if (miniHangFrm)
        miniHangFrm->hide();
    QCoreApplication::processEvents();
    autoBackup.BackupAtClose();
    return result;
}
