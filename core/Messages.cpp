#include "core/Messages.h"

#include <QMessageBox>

namespace qn {

namespace {
MessageSink g_sink = nullptr;

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

void SetMessageSink(MessageSink sink) { g_sink = sink; }

}  // namespace qn
