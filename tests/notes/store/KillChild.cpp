// Saves one week over and over, numbering each save, and reports every save
// that has completed on stdout. The durability test kills it at random.
//   store_kill_child FOLDER FIRST_NUMBER

#include "calendar/DateValue.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "notes/store/WeekNotes.h"
#include "store/uDM.h"

#include <QApplication>
#include <QTextEdit>

#include <array>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    qn::SetMessageSink(
        [](const QString&, const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); });
    const qn::ProgramFolder folder(QString::fromLocal8Bit(argv[1]));
    TDM dm(folder);
    if (!dm.ConnectDatabase())
        return 1;
    std::array<std::unique_ptr<QTextEdit>, 6> owned;
    NoteBoxes boxes{};
    for (size_t i = 0; i < 6; ++i) {
        owned[i] = std::make_unique<QTextEdit>();
        boxes[i] = owned[i].get();
    }
    TWeekConArray week(7);
    BuildWeek(week, qn::EncodeDate(2010, 6, 1));
    const QString filler = QStringLiteral("记事").repeated(500);
    for (long n = std::atol(argv[2]);; ++n) {
        for (size_t i = 0; i < 6; ++i)
            boxes[i]->setPlainText(QStringLiteral("save %1 box %2\n").arg(n).arg(i) + filler);
        SaveWeekBoxes(dm.Notes(), week, boxes);
        std::printf("%ld\n", n);
        std::fflush(stdout);
    }
}
