// The editing commands of the main window (box popup menu and toolbar) and
// the export of the shown week. Every command acts on the focused box only;
// without a focused box it does nothing and shows no dialog. Each change of
// the text reaches the box's change event, which saves the week.

#include "calendar/Clock.h"
#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "core/Messages.h"
#include "core/uGlobal.h"
#include "notes/board/NoteBox.h"
#include "notes/rtf/RtfStream.h"
#include "notes/store/WeekExport.h"
#include "notes/window/uMain.h"

#include <QApplication>
#include <QMenu>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace {

constexpr const char* kTick = "√";
constexpr const char* kCross = "×";
constexpr const char* kMarkerBlock = "█";

}  // namespace

void TMainFrm::BuildBoxMenu()
{
    pmDeskTopMonCal = new QMenu(this);
    pmDeskTopMonCal->setObjectName(QStringLiteral("pmDeskTopMonCal"));
    auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(item(pmDeskTopMonCal, "N1", "复制"), &QAction::triggered, this, &TMainFrm::N1Click);
    connect(item(pmDeskTopMonCal, "N2", "粘贴"), &QAction::triggered, this, &TMainFrm::N2Click);
    connect(item(pmDeskTopMonCal, "N9", "删除"), &QAction::triggered, this, &TMainFrm::N9Click);
    connect(item(pmDeskTopMonCal, "N3", "剪切"), &QAction::triggered, this, &TMainFrm::N3Click);
    pmDeskTopMonCal->addSeparator()->setObjectName(QStringLiteral("N6"));
    connect(item(pmDeskTopMonCal, "V1", "打V"), &QAction::triggered, this, &TMainFrm::V1Click);
    connect(item(pmDeskTopMonCal, "X1", "打X"), &QAction::triggered, this, &TMainFrm::X1Click);
    pmDeskTopMonCal->addSeparator()->setObjectName(QStringLiteral("N5"));
    // The caption names the key; the box handles Ctrl+Z by itself.
    connect(item(pmDeskTopMonCal, "CtrlZ1", "撤销(Ctrl+Z)"), &QAction::triggered, this, &TMainFrm::CtrlZ1Click);
    QMenu* markers = pmDeskTopMonCal->addMenu(QStringLiteral("添加标注"));
    markers->setObjectName(QStringLiteral("N10"));
    markers->menuAction()->setObjectName(QStringLiteral("N10"));
    connect(item(markers, "N11", "蓝"), &QAction::triggered, this, &TMainFrm::N11Click);
    connect(item(markers, "N12", "红"), &QAction::triggered, this, &TMainFrm::N12Click);
    connect(item(markers, "N13", "粉色"), &QAction::triggered, this, &TMainFrm::N13Click);
}

void TMainFrm::InsertText(const QString& text)
{
    // The selection is replaced; the text takes the box's typing attributes.
    if (QTextEdit* box = FocusedBox())
        box->textCursor().insertText(text);
}

void TMainFrm::InsertMarker(const QColor& colour)
{
    QTextEdit* box = FocusedBox();
    if (!box)
        return;
    // Colour first, then the block: typing after it goes on in that colour.
    box->setTextColor(colour);
    QTextCursor cursor = box->textCursor();
    QTextCharFormat format = cursor.charFormat();
    format.setForeground(colour);
    cursor.insertText(QString::fromUtf8(kMarkerBlock), format);
    box->setTextCursor(cursor);
}

void TMainFrm::N1Click()
{
    if (QTextEdit* box = FocusedBox())
        box->copy();
}

void TMainFrm::N2Click()
{
    if (QTextEdit* box = FocusedBox())
        box->paste();
}

void TMainFrm::N9Click()
{
    if (QTextEdit* box = FocusedBox())
        box->textCursor().removeSelectedText();
}

void TMainFrm::N3Click()
{
    if (QTextEdit* box = FocusedBox())
        box->cut();
}

void TMainFrm::V1Click() { InsertText(QString::fromUtf8(kTick)); }
void TMainFrm::X1Click() { InsertText(QString::fromUtf8(kCross)); }
void TMainFrm::btnGouClick() { InsertText(QString::fromUtf8(kTick)); }
// The button's caption is the letter X; what it writes is the cross sign.
void TMainFrm::btnXClick() { InsertText(QString::fromUtf8(kCross)); }

void TMainFrm::CtrlZ1Click()
{
    if (QTextEdit* box = FocusedBox())
        box->undo();
}

void TMainFrm::N11Click() { InsertMarker(QColor(0, 0, 255)); }
void TMainFrm::N12Click() { InsertMarker(QColor(255, 0, 0)); }
void TMainFrm::N13Click() { InsertMarker(QColor(255, 0, 255)); }

void TMainFrm::imgDateClick()
{
    if (!FocusedBox())
        return;
    const qn::TimeOfDay t = qn::DecodeTime(m_now());
    InsertText(QStringLiteral(" %1:%2 ").arg(t.hour, 2, 10, QLatin1Char('0')).arg(t.minute, 2, 10, QLatin1Char('0')));
}

void TMainFrm::imgFontClick()
{
    QTextEdit* box = FocusedBox();
    if (!box)
        return;
    // The dialog opens on the font the text is really shown in; what the
    // user leaves as it is stays as it is in the text.
    const QFont shown = ShownFont(*box);
    const std::optional<QFont> chosen = m_dialogs.chooseFont(shown, this);
    if (!chosen)
        return;
    const QTextCharFormat change = FontChange(shown, *chosen, box->logicalDpiY());
    if (!change.properties().isEmpty())
        ApplyFontChange(*box, change);
}

void TMainFrm::imgRedColorClick()
{
    QTextEdit* box = FocusedBox();
    if (!box)
        return;
    const std::optional<QColor> chosen = m_dialogs.chooseColor(m_colorDialogColour, this);
    if (!chosen)
        return;
    m_colorDialogColour = *chosen;
    box->setTextColor(*chosen);
}

void TMainFrm::N_DataOutClick()
{
    std::array<QString, 6> texts;
    for (size_t i = 0; i < 6; ++i)
        texts[i] = PlainTextCrLf(*boxes()[i]->document());
    const QStringList entries = BuildExportEntries(ShownWeek, texts);
    const std::optional<QString> name =
        m_dialogs.chooseExportFile(ExportStartFolder(m_folder), ProposedExportName(chnRili->DateTime()), this);
    if (!name)
        return;
    if (name->isEmpty()) {
        qn::ShowPlainMessage(this, QStringLiteral("文件名不能为空！"));
        return;
    }
    // ".txt" is always appended, as the notebook has always done; the
    // question names the file that is really written.
    const QString target = ExportTargetPath(*name);
    if (ExportTargetExists(target) && !qn::AskYesNo(this, qn::kApplicationTitle, ReplaceExportQuestion(target)))
        return;
    const QString error = WriteExportFile(target, entries);
    if (!error.isEmpty()) {
        qn::ShowErrorReport(this, error);
        return;
    }
    RememberExportFolder(m_folder, target);
}
