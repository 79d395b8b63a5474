// Writes a big notebook for start-up measurements: every week of the last N
// years (up to this week), six notes each of about B bytes of formatted
// Chinese RTF, into FOLDER/Data/UserData.mdb.
//
//   make_notebook [--years N] [--note-bytes B] [--without-index] FOLDER
//
// N defaults to 100 (5,200 weeks × 6 notes), B to 2048. --without-index
// drops the lookup index afterwards, as a file written by another program
// may lack it; the notebook makes it again once the file has passed its
// checks. Start the notebook on it with: qnweeknote --folder FOLDER

#include "calendar/Clock.h"
#include "calendar/DateValue.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "notes/store/WeekNotes.h"
#include "store/uDM.h"

#include <QApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <vector>

namespace {

void Print(FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

// Formatted Chinese text, grown until its RTF has about noteBytes bytes. The
// first line holds a marker that is replaced by each note's date.
qn::DayNote TemplateNote(int seed, int noteBytes)
{
    static const QString words[] = {QStringLiteral("今天上午开会讨论"),     QStringLiteral("项目进度"),
                                    QStringLiteral("下午去银行办理业务，"), QStringLiteral("记得买菜和水果。"),
                                    QStringLiteral("周末计划：爬山、看书"), QStringLiteral("重要！")};
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("@@DATE@@\n"));
    for (int i = 0; NoteFromBox("", document).rtf.size() < noteBytes; ++i) {
        QTextCharFormat format;
        format.setFontFamilies({i % 3 ? QStringLiteral("宋体") : QStringLiteral("微软雅黑")});
        format.setFontPointSize(9 + (i + seed) % 4 * 2);
        format.setFontWeight((i + seed) % 5 == 0 ? QFont::Bold : QFont::Normal);
        format.setForeground(QColor::fromRgb((i * 40) % 256, 0, (i * 90 + seed) % 256));
        cursor.insertText(words[(i + seed) % 6], format);
        if (i % 8 == 7)
            cursor.insertBlock();
    }
    return NoteFromBox("", document);
}

qn::DayNote NoteOn(const qn::DayNote& pattern, const std::string& key)
{
    qn::DayNote note = pattern;
    note.key = key;
    note.rtf.replace("@@DATE@@", key.c_str());
    note.plain.replace(QStringLiteral("@@DATE@@"), QString::fromStdString(key));
    return note;
}

int Usage()
{
    Print(stderr, QStringLiteral("usage: make_notebook [--years N] [--note-bytes B] [--without-index] FOLDER\n"));
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int years = 100;
    int noteBytes = 2048;
    bool withoutIndex = false;
    QString root;
    const QStringList args = QApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--years") && i + 1 < args.size())
            years = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--note-bytes") && i + 1 < args.size())
            noteBytes = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--without-index"))
            withoutIndex = true;
        else if (root.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            root = args[i];
        else
            ok = false;
        if (!ok)
            return Usage();
    }
    if (root.isEmpty() || years < 1 || noteBytes < 100)
        return Usage();

    const qn::ProgramFolder folder(root);
    if (!folder.ensureDataFolder() || QFileInfo::exists(folder.dataFile(QStringLiteral("UserData.mdb")))) {
        Print(stderr, QStringLiteral("%1 must be a folder without Data/UserData.mdb\n").arg(root));
        return 1;
    }
    qn::SetMessageSink([](const QString&, const QString& text) { Print(stderr, text + QLatin1Char('\n')); });
    TDM dm(folder);
    if (!dm.ConnectDatabase())
        return 1;

    std::vector<qn::DayNote> patterns;
    for (int seed = 0; seed < 12; ++seed)
        patterns.push_back(TemplateNote(seed, noteBytes));

    // Whole weeks, from the Monday N years back to this week's.
    const double today = qn::SystemNow();
    TWeekConArray week(7);
    BuildWeek(week, today - years * 364);
    long long notes = 0;
    std::vector<qn::DayNote> batch;
    for (double monday = week[0].DayDate; monday <= today; monday += 7) {
        BuildWeek(week, monday);
        for (size_t slot = 0; slot < 6; ++slot)
            batch.push_back(NoteOn(patterns[static_cast<size_t>(notes++ % 12)], week[slot].DayKey));
        if (batch.size() >= 6 * 52) {
            if (!dm.Notes().WriteDays(batch).ok())
                return 1;
            batch.clear();
        }
    }
    if (!batch.empty() && !dm.Notes().WriteDays(batch).ok())
        return 1;
    dm.Checkpoint();
    if (withoutIndex) {
        QSqlQuery drop(dm.AdoCon());
        if (!drop.exec(QStringLiteral("DROP INDEX idx_tb_NewQN_YearMonthStr")))
            return 1;
    }
    Print(stdout,
          QStringLiteral("%1 notes of about %2 bytes in %3\n")
              .arg(notes)
              .arg(noteBytes)
              .arg(folder.dataFile(QStringLiteral("UserData.mdb"))));
    return 0;
}
