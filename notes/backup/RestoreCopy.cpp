#include "notes/backup/RestoreCopy.h"

#include "core/Messages.h"
#include "store/Backup.h"
#include "store/Schema.h"
#include "store/SqliteStatement.h"
#include "store/uDM.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kLoadFailed = QStringLiteral("配置文件加载失败，请重试！");

QString Made(const QDateTime& made) { return made.toString(QStringLiteral("yyyy年M月d日 HH:mm")); }

}  // namespace

QString RestoreCopy(TDM& dm, const QString& copyPath)
{
    if (!qn::IsSoundNotesFile(copyPath))
        return QStringLiteral("这个备份已损坏或不是笔记文件，不能恢复：\n%1").arg(copyPath);
    dm.Search().StopKeeping();
    QString error;
    const qn::BackupOutcome before = qn::WriteBackup(dm.databasePath(), QDateTime::currentDateTime());
    if (!before.ok()) {
        error = QStringLiteral("恢复前无法先备份当前的笔记，没有恢复。\n%1").arg(before.error);
    } else {
        sqlite3* handle = qn::SqliteHandle(dm.AdoCon());
        const qn::StoreStatus restored = qn::RestoreInto(handle, copyPath);
        if (restored != qn::StoreStatus::Ok) {
            error = QStringLiteral("无法恢复备份：%1").arg(qn::StatusText(restored));
        } else {
            // A copy from before an update of the notebook is brought up to date.
            qn::EnsureLookupIndex(handle);
            qn::MigrateSchema(handle);
            dm.Checkpoint();
        }
    }
    dm.Search().KeepInStep();
    return error;
}

bool AskWithMessageBox(const QString& text, QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, qn::kApplicationTitle, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("恢复备份"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("退出"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

bool OfferRestoreAtStart(TDM& dm, QWidget* parent, const AskUser& ask)
{
    const QString path = dm.databasePath();
    if (!qn::IsDamagedNotesFile(path)) {
        qn::ShowPlainMessage(parent, kLoadFailed);
        return false;
    }
    const qn::BackupCopy* sound = nullptr;
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(path);
    for (const qn::BackupCopy& copy : copies) {
        if (qn::IsSoundNotesFile(copy.path)) {
            sound = &copy;
            break;
        }
    }
    if (!sound) {
        qn::ShowPlainMessage(parent, kLoadFailed + QStringLiteral("\n\n笔记文件已损坏，也没有可用的备份。"));
        return false;
    }
    const int days = qn::DaysWithNotes(sound->path);
    const QString question = kLoadFailed
        + QStringLiteral(
              "\n\n笔记文件 %1 已损坏，无法打开。\n\n可以用 %2 的备份恢复%3。\n损坏的文件会原样保留在它旁边，改名为 "
              "UserData-damaged-…。")
              .arg(QFileInfo(path).fileName(), Made(sound->made),
                   days >= 0 ? QStringLiteral("（其中有 %1 天的笔记）").arg(days) : QString());
    if (!ask(question, parent))
        return false;

    QString error;
    const QString aside = qn::SetDamagedFileAside(path, QDateTime::currentDateTime(), &error);
    if (aside.isEmpty()) {
        qn::ShowPlainMessage(parent, error);
        return false;
    }
    if (!qn::InstallCopy(sound->path, path, &error)) {
        // Nothing is lost: the damaged file goes back where it was.
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            if (QFileInfo::exists(aside + QLatin1String(suffix)))
                QFile::rename(aside + QLatin1String(suffix), path + QLatin1String(suffix));
        QFile::rename(aside, path);
        qn::ShowPlainMessage(parent, error);
        return false;
    }
    return dm.ConnectDatabase(parent);
}
