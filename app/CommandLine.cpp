#include "app/CommandLine.h"

#include <QByteArray>

#include <cstring>

namespace qn {

bool IsNotesCommand(const QString& word)
{
    return word == QLatin1String("search") || word == QLatin1String("export") || word == QLatin1String("backup");
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (IsNotesCommand(a)) {
            // Everything after the command word belongs to the command.
            result.command = a;
            result.commandArguments = arguments.mid(i + 1);
            return result;
        }
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            result.help = true;
        } else if (a == QLatin1String("--version")) {
            result.version = true;
        } else if (a == QLatin1String("--calendar-demo")) {
            result.calendarDemo = true;
        } else if (a == QLatin1String("--folder")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                result.error = QStringLiteral("--folder 需要一个文件夹 (--folder needs a folder)");
                return result;
            }
            result.folder = arguments[++i];
        } else if (a.startsWith(QLatin1String("--folder="))) {
            result.folder = a.mid(9);
            if (result.folder.isEmpty()) {
                result.error = QStringLiteral("--folder 需要一个文件夹 (--folder needs a folder)");
                return result;
            }
        } else {
            result.error = QStringLiteral("未知的参数 (unknown argument): %1").arg(a);
            return result;
        }
    }
    return result;
}

QString HelpText(const QString& folderInUse)
{
    QString text = QStringLiteral(
        "用法 (usage): qnweeknote [选项]\n"
        "             qnweeknote [--folder DIR] search|export|backup ...\n"
        "\n"
        "QN周记事本: 一周六个记事框和带农历的月历。每次修改都立即保存。\n"
        "A weekly notebook with a Chinese lunar calendar; every change is saved at once.\n"
        "\n"
        "选项 (options):\n"
        "  --folder DIR      程序文件夹: 笔记保存在 DIR/Data/ 中。默认为程序所在文件夹;\n"
        "                    程序所在文件夹不可写时 (例如安装在 /usr/bin), 使用用户数据文件夹\n"
        "                    ~/.local/share/qnweeknote/。\n"
        "                    Program folder: notes are kept in DIR/Data/. Default: the\n"
        "                    folder of the executable; when that folder cannot be\n"
        "                    written (an installed copy, e.g. in /usr/bin), the user's\n"
        "                    data folder ~/.local/share/qnweeknote/.\n"
        "  --calendar-demo   只显示月历控件 (show the calendar control alone).\n"
        "  --version         显示版本 (print the version).\n"
        "  -h, --help        显示本帮助 (print this help).\n"
        "\n"
        "不打开窗口的命令 (commands without a window; they work while the notebook is open):\n"
        "  search 文字        每个含有该文字的日子一行: YYYY-MM-DD<TAB>摘要, 最近的在前。\n"
        "                    退出码: 找到 0, 没找到 1, 出错 2。\n"
        "  export --from YYYY-MM-DD --to YYYY-MM-DD --format md|html|txt [--output 文件]\n"
        "                    导出这段日子的笔记 (UTF-8); 没有 --output 时写到标准输出。\n"
        "  backup            立即备份笔记到 Data/Backup/ 并显示备份文件的路径。\n"
        "\n"
        "没有图形显示时 (without a display), run it under a virtual display:\n"
        "  xvfb-run qnweeknote    or    QT_QPA_PLATFORM=offscreen qnweeknote\n");
    if (!folderInUse.isEmpty()) {
        text += QStringLiteral(
                    "\n"
                    "当前使用的程序文件夹 (program folder in use): %1\n"
                    "笔记保存在 (notes are kept in): %1Data/\n")
                    .arg(folderInUse);
    }
    return text;
}

bool NoDisplayAvailable(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return false;
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return false;
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString NoDisplayText()
{
    return QStringLiteral(
        "qnweeknote: 找不到图形显示 (no display found: neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
        "请在桌面中启动, 或使用虚拟显示 (start it from a desktop session, or use a virtual display):\n"
        "  xvfb-run -a qnweeknote\n"
        "或者不显示窗口运行 (or run it without showing a window):\n"
        "  QT_QPA_PLATFORM=offscreen qnweeknote\n");
}

}  // namespace qn
