#include "notes/backup/RestoreCopy.h"

#include "core/Messages.h"
#include "store/Backup.h"
#include "store/Schema.h"
#include "store/SqliteStatement.h"
#include "store/uDM.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kLoadFailed = QStringLiteral("配置文件加载失败，请重试！");

QString Made(const QDateTime& made) { return made.toString(QStringLiteral("yyyy年M月d日 HH:mm")); }

// The damaged file and its log go back where they were.
void PutBack(const QString& aside, const QString& path)
{
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (QFileInfo::exists(aside + QLatin1String(suffix)))
            QFile::rename(aside + QLatin1String(suffix), path + QLatin1String(suffix));
    QFile::rename(aside, path);
}

}  // namespace

QString RestoreCopy(TDM& dm, const QString& copyPath)
{
    if (!dm.AcceptsWrites())
        return QStringLiteral("笔记文件还没有检查完，或者现在只能读取，不能恢复备份。请稍后再试。");
    if (dm.SavesHeld())
        return QStringLiteral("有笔记还没有保存，现在不能恢复备份。请等它们保存以后再试。");
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
            // A copy from before an update of the notebook is brought up to
            // date; the copy just written holds what it replaced.
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

SoundCopyOffer OfferSoundCopy(TDM& dm, QWidget* parent, const AskUser& ask, bool knownDamaged, const QString& why,
                              QString* error)
{
    const QString path = dm.databasePath();
    if (!knownDamaged && !qn::IsDamagedNotesFile(path))
        return SoundCopyOffer::NotDamaged;
    const std::vector<qn::BackupCopy> copies = qn::ListBackups(path);
    const auto sound = std::find_if(copies.begin(), copies.end(),
                                    [](const qn::BackupCopy& copy) { return qn::IsSoundNotesFile(copy.path); });
    if (sound == copies.end())
        return SoundCopyOffer::NoSoundCopy;
    const int days = qn::DaysWithNotes(sound->path);
    const QString question = why
        + QStringLiteral(
              "\n\n笔记文件 %1 已损坏，无法打开。\n\n可以用 %2 的备份恢复%3。\n损坏的文件会原样保留在它旁边，改名为 "
              "UserData-damaged-…。")
              .arg(QFileInfo(path).fileName(), Made(sound->made),
                   days >= 0 ? QStringLiteral("（其中有 %1 天的笔记）").arg(days) : QString());
    if (!ask(question, parent))
        return SoundCopyOffer::Declined;

    // An open connection keeps reading the file it opened, wherever it is
    // renamed to, until the copy is open in its place.
    const QString aside = qn::SetDamagedFileAside(path, QDateTime::currentDateTime(), error);
    if (aside.isEmpty())
        return SoundCopyOffer::Failed;
    if (!qn::InstallCopy(sound->path, path, error)) {
        PutBack(aside, path);
        return SoundCopyOffer::Failed;
    }
    if (!dm.OpenForReading(parent, false)) {
        // Nothing is lost: the copy goes, the damaged file comes back.
        QFile::remove(path);
        PutBack(aside, path);
        dm.OpenForReading(parent, false);
        *error = QStringLiteral("无法打开恢复的备份 %1").arg(sound->path);
        return SoundCopyOffer::Failed;
    }
    return SoundCopyOffer::Restored;
}

bool OfferRestoreAtStart(TDM& dm, QWidget* parent, const AskUser& ask)
{
    QString error;
    switch (OfferSoundCopy(dm, parent, ask, false, kLoadFailed, &error)) {
    case SoundCopyOffer::Restored: return true;
    case SoundCopyOffer::NotDamaged: qn::ShowPlainMessage(parent, kLoadFailed); return false;
    case SoundCopyOffer::NoSoundCopy:
        qn::ShowPlainMessage(parent, kLoadFailed + QStringLiteral("\n\n笔记文件已损坏，也没有可用的备份。"));
        return false;
    case SoundCopyOffer::Declined: return false;
    case SoundCopyOffer::Failed: qn::ShowPlainMessage(parent, error); return false;
    }
    return false;
}
