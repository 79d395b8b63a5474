#include "core/Messages.h"

#include <QDir>
#include <QMessageBox>

#include <cerrno>

namespace qn {

namespace {
MessageSink g_sink = nullptr;
QuestionSink g_questionSink = nullptr;

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    if (g_sink) {
        g_sink(caption, text);
        return;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}
}  // namespace

void ShowPlainMessage(QWidget* parent, const QString& text)
{
    Show(parent, QMessageBox::Information, kApplicationTitle, text);
}

void ShowCaptionedMessage(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, QMessageBox::Information, caption, text);
}

void ShowNotice(QWidget* parent, const QString& text)
{
    if (g_sink) {
        g_sink(kApplicationTitle, text);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, kApplicationTitle, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void ShowErrorReport(QWidget* parent, const QString& errorText)
{
    Show(parent, QMessageBox::Critical, kApplicationTitle, errorText);
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    if (g_sink) {
        g_sink(caption, text);
        return g_questionSink ? g_questionSink(caption, text) : false;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString FileErrorReason(int systemError)
{
    switch (systemError) {
    case EACCES:
    case EPERM: return QStringLiteral("没有权限");
    case EROFS: return QStringLiteral("磁盘是只读的");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("文件夹不存在");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("磁盘已满");
    case EISDIR: return QStringLiteral("这是一个文件夹，不是文件");
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    default: return QStringLiteral("系统错误");
    }
}

QString FileErrorMessage(FileAction action, const QString& path, const QString& reason, const QString& systemDetail)
{
    const QString verb = action == FileAction::Read ? QStringLiteral("读取") : QStringLiteral("保存");
    QString text = QStringLiteral("无法%1文件“%2”：%3。").arg(verb, QDir::toNativeSeparators(path), reason);
    if (!systemDetail.isEmpty())
        text += QStringLiteral("\n（系统信息：%1）").arg(systemDetail);
    return text;
}

void SetMessageSink(MessageSink sink) { g_sink = sink; }

void SetQuestionSink(QuestionSink sink) { g_questionSink = sink; }

}  // namespace qn
