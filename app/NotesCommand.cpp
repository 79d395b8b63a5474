#include "app/NotesCommand.h"

#include "core/ProgramFolder.h"
#include "notes/export/RangeExport.h"
#include "store/Backup.h"
#include "store/SearchIndex.h"
#include "store/SqliteConnection.h"

#include <QDate>
#include <QFileInfo>

#include <sqlite3.h>
#include <unistd.h>

namespace qn {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

bool Write(FILE* stream, const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream)
        == static_cast<size_t>(bytes.size());
}

void Say(FILE* stream, const QString& text) { Write(stream, (text + QLatin1Char('\n')).toUtf8()); }

int Usage(FILE* err, const QString& problem)
{
    Say(err, QStringLiteral("qnweeknote: %1").arg(problem));
    Write(err, NotesCommandUsage().toUtf8());
    return kCommandFailed;
}

QString DatabasePath(const ProgramFolder& folder) { return folder.dataFile(QStringLiteral("UserData.mdb")); }

// The notes database, read only; nothing when it is missing or unreadable
// (the reason is on err).
bool OpenNotes(const ProgramFolder& folder, std::unique_ptr<SqliteConnection>& db, FILE* err)
{
    const QString path = DatabasePath(folder);
    if (!QFileInfo(path).isFile()) {
        Say(err, QStringLiteral("qnweeknote: 找不到笔记文件 %1").arg(path));
        return false;
    }
    db = std::make_unique<SqliteConnection>(path, SqliteConnection::Mode::ReadOnly);
    if (!db->isOpen()) {
        Say(err,
            QStringLiteral("qnweeknote: 无法打开笔记文件 %1: %2")
                .arg(path, QString::fromUtf8(sqlite3_errstr(db->openResult()))));
        return false;
    }
    return true;
}

int StoreFailure(FILE* err, StoreStatus status, sqlite3* db)
{
    Say(err,
        QStringLiteral("qnweeknote: 无法读取笔记: %1 (%2)")
            .arg(StatusText(status), QString::fromUtf8(sqlite3_errmsg(db))));
    return kCommandFailed;
}

// The line with its hits in bold red, for a terminal.
QString Highlighted(const Snippet& snippet)
{
    QString line;
    int at = 0;
    for (const TextSpan& mark : snippet.marks) {
        line += snippet.text.mid(at, mark.start - at) + QStringLiteral("\x1b[1;31m")
            + snippet.text.mid(mark.start, mark.length) + QStringLiteral("\x1b[0m");
        at = mark.start + mark.length;
    }
    return line + snippet.text.mid(at);
}

int Search(const ProgramFolder& folder, const QStringList& arguments, FILE* out, FILE* err)
{
    QStringList words = arguments;
    if (!words.isEmpty() && words.first() == QLatin1String("--"))
        words.removeFirst();
    else if (!words.isEmpty() && words.first().startsWith(QLatin1Char('-')) && words.first().size() > 1)
        return Usage(err, QStringLiteral("search 不认识选项 %1 (以 - 开头的文字请写在 -- 之后)").arg(words.first()));
    if (words.size() != 1)
        return Usage(err, QStringLiteral("search 需要一段要找的文字 (search needs one TEXT)"));
    if (words.first().isEmpty())
        return Usage(err, QStringLiteral("要找的文字不能为空 (TEXT is empty)"));
    std::unique_ptr<SqliteConnection> db;
    if (!OpenNotes(folder, db, err))
        return kCommandFailed;
    // The notes themselves are read, so the answer is exact whatever state
    // the index is in.
    const StoreResult<SearchPage> found = ScanNotes(db->handle(), words.first(), 0);
    if (!found.ok())
        return StoreFailure(err, found.status, db->handle());
    const bool colour = ::isatty(::fileno(out)) && qEnvironmentVariableIsEmpty("NO_COLOR");
    QByteArray lines;
    for (const SearchHit& hit : found.value.hits) {
        const QString day = QString::fromStdString(hit.key);
        const QString date = day.left(4) + QLatin1Char('-') + day.mid(4, 2) + QLatin1Char('-') + day.mid(6, 2);
        lines += (date + QLatin1Char('\t') + (colour ? Highlighted(hit.snippet) : hit.snippet.text) + QLatin1Char('\n'))
                     .toUtf8();
    }
    if (!Write(out, lines) || std::fflush(out) != 0) {
        Say(err, QStringLiteral("qnweeknote: 无法写出结果"));
        return kCommandFailed;
    }
    return found.value.hits.empty() ? kCommandFoundNothing : kCommandDone;
}

int Export(const ProgramFolder& folder, const QStringList& arguments, FILE* out, FILE* err)
{
    QString from, to, formatName, output;
    bool hasOutput = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        QString* target = option == QLatin1String("--from") ? &from
            : option == QLatin1String("--to")               ? &to
            : option == QLatin1String("--format")           ? &formatName
            : option == QLatin1String("--output")           ? &output
                                                            : nullptr;
        if (!target)
            return Usage(err, QStringLiteral("export 不认识参数 %1").arg(option));
        if (i + 1 >= arguments.size())
            return Usage(err, QStringLiteral("%1 后面缺少值").arg(option));
        hasOutput = hasOutput || target == &output;
        *target = arguments[++i];
    }
    const QDate first = QDate::fromString(from, kDateFormat);
    const QDate last = QDate::fromString(to, kDateFormat);
    if (!first.isValid() || !last.isValid())
        return Usage(err, QStringLiteral("--from 和 --to 需要日期 YYYY-MM-DD"));
    if (first > last)
        return Usage(err, QStringLiteral("开始日期 %1 晚于结束日期 %2").arg(from, to));
    const std::optional<ExportFormat> format = ExportFormatNamed(formatName);
    if (!format)
        return Usage(err, QStringLiteral("--format 需要 md、html 或 txt"));
    if (hasOutput && output.isEmpty())
        return Usage(err, QStringLiteral("--output 需要一个文件名"));
    std::unique_ptr<SqliteConnection> db;
    if (!OpenNotes(folder, db, err))
        return kCommandFailed;
    const RangeExportResult exported = ExportRange(db->handle(), first, last, *format);
    if (exported.status != StoreStatus::Ok)
        return StoreFailure(err, exported.status, db->handle());
    if (hasOutput) {
        const QString error = WriteExportBytes(output, exported.bytes);
        if (!error.isEmpty()) {
            Say(err, QStringLiteral("qnweeknote: ") + error);
            return kCommandFailed;
        }
        return kCommandDone;
    }
    if (!Write(out, exported.bytes) || std::fflush(out) != 0) {
        Say(err, QStringLiteral("qnweeknote: 无法写出导出的笔记"));
        return kCommandFailed;
    }
    return kCommandDone;
}

int Backup(const ProgramFolder& folder, const QStringList& arguments, FILE* out, FILE* err)
{
    if (!arguments.isEmpty())
        return Usage(err, QStringLiteral("backup 不需要参数"));
    const QString path = DatabasePath(folder);
    if (!QFileInfo(path).isFile()) {
        Say(err, QStringLiteral("qnweeknote: 找不到笔记文件 %1").arg(path));
        return kCommandFailed;
    }
    const BackupOutcome made = WriteBackup(path, QDateTime::currentDateTime());
    if (!made.ok()) {
        Say(err, QStringLiteral("qnweeknote: ") + made.error);
        return kCommandFailed;
    }
    Say(out, made.path);
    return std::fflush(out) == 0 ? kCommandDone : kCommandFailed;
}

}  // namespace

QString NotesCommandUsage()
{
    return QStringLiteral(
        "用法 (usage):\n"
        "  qnweeknote [--folder DIR] search 文字\n"
        "      每个含有该文字的日子一行: YYYY-MM-DD<TAB>摘要, 最近的在前。\n"
        "      英文字母不分大小写。以 - 开头的文字写在 -- 之后。退出码: 找到 0, 没找到 1, 出错 2。\n"
        "  qnweeknote [--folder DIR] export --from YYYY-MM-DD --to YYYY-MM-DD --format md|html|txt [--output 文件]\n"
        "      导出这段日子的笔记, UTF-8; 没有 --output 时写到标准输出。\n"
        "  qnweeknote [--folder DIR] backup\n"
        "      立即把笔记备份到 Data/Backup/, 并显示备份文件的路径。\n"
        "这些命令不打开窗口, 笔记本开着时也可以使用。\n");
}

bool NotesCommandNeedsGui(const QString& command) { return command == QLatin1String("export"); }

int RunNotesCommand(const ProgramFolder& folder, const QString& command, const QStringList& arguments, FILE* out,
                    FILE* err)
{
    if (command == QLatin1String("search"))
        return Search(folder, arguments, out, err);
    if (command == QLatin1String("export"))
        return Export(folder, arguments, out, err);
    if (command == QLatin1String("backup"))
        return Backup(folder, arguments, out, err);
    return Usage(err, QStringLiteral("未知的命令 %1").arg(command));
}

}  // namespace qn
