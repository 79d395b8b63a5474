// Saves one week over and over, numbering each save, and reports every save
// that has completed on stdout. The durability test kills it at random.
//   store_kill_child FOLDER FIRST_NUMBER [boxes|held]
// boxes: the boxes are written straight to the store.
// held:  the way the program saves: opened for reading, checked, then every
//        save goes through the week board's held notes, and the log is
//        copied into the file after every few saves (a kill may land in
//        that copy).

#include "calendar/DateValue.h"
#include "core/Messages.h"
#include "core/ProgramFolder.h"
#include "core/uGlobal.h"
#include "notes/board/WeekNotesModel.h"
#include "notes/store/WeekNotes.h"
#include "store/FileChecks.h"
#include "store/uDM.h"

#include <QApplication>
#include <QTextEdit>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool held = argc > 3 && std::strcmp(argv[3], "held") == 0;
    qn::SetMessageSink(
        [](const QString&, const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); });
    const qn::ProgramFolder folder(QString::fromLocal8Bit(argv[1]));
    TDM dm(folder);
    if (!(held ? dm.OpenForReading() : dm.ConnectDatabase()))
        return 1;
    std::array<std::unique_ptr<QTextEdit>, 6> owned;
    NoteBoxes boxes{};
    for (size_t i = 0; i < 6; ++i) {
        owned[i] = std::make_unique<QTextEdit>();
        boxes[i] = owned[i].get();
    }
    TWeekConArray week(7);
    BuildWeek(week, qn::EncodeDate(2010, 6, 1));

    qn::WeekNotesModel model(dm);
    if (held) {
        qn::WeekNotesModel::WeekKeys keys;
        for (size_t i = 0; i < 6; ++i)
            keys[i] = week[i].DayKey;
        model.LoadWeek(keys);
        if (qn::CheckWholeFile(dm.databasePath()) != qn::StoreStatus::Ok)
            return 1;
        dm.SetCheckpointSoonBytes(64 * 1024);
        model.WholeFileChecked();
    }

    const QString filler = QStringLiteral("记事").repeated(500);
    for (long n = std::atol(argv[2]);; ++n) {
        for (size_t i = 0; i < 6; ++i)
            boxes[i]->setPlainText(QStringLiteral("save %1 box %2\n").arg(n).arg(i) + filler);
        if (held) {
            std::vector<qn::BoxNote> notes;
            for (int i = 0; i < 6; ++i)
                notes.push_back(
                    {i, NoteFromBox(week[static_cast<size_t>(i)].DayKey, *boxes[static_cast<size_t>(i)]->document())});
            model.Save(std::move(notes));
            if (model.HasUnsaved()) {
                std::fprintf(stderr, "save %ld held: %s\n", n, model.UnsavedReason().toUtf8().constData());
                return 3;
            }
            QCoreApplication::processEvents();  // the log is copied here when it has grown
        } else {
            SaveWeekBoxes(dm.Notes(), week, boxes);
        }
        std::printf("%ld\n", n);
        std::fflush(stdout);
    }
}
