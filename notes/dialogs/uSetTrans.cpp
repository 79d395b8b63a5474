#include "notes/dialogs/uSetTrans.h"

#include "notes/frame/WidgetParts.h"

#include "core/Messages.h"
#include "core/SettingsFile.h"
#include "notes/frame/BorderlessMove.h"
#include "notes/frame/SkinButton.h"
#include "notes/frame/SkinPictures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>

namespace qn {

namespace {

QString SetTransName() { return QStringLiteral("SetTrans.ini"); }

QFont YaHei(int pixelSize) { return ControlFont(QStringLiteral("微软雅黑"), pixelSize); }

// Centres the dialog over its owner (or the primary screen without one).
void CentreOver(QWidget* dialog)
{
    QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        dialog->move(area.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

}  // namespace

QColor NoteBoxColour(int transMode, const QPalette& palette)
{
    if (transMode == 1)
        return palette.color(QPalette::Active, QPalette::Base);
    return QColor(0xF7, 0xF7, 0xF7);
}

void ApplyNoteBoxColour(const QList<QWidget*>& boxes, int transMode)
{
    for (QWidget* box : boxes) {
        if (!box)
            continue;
        QPalette palette = box->palette();
        const QColor colour = NoteBoxColour(transMode, QApplication::palette());
        palette.setColor(QPalette::Base, colour);
        palette.setColor(QPalette::Window, colour);
        box->setPalette(palette);
    }
}

TSetTransFrm::TSetTransFrm(const ProgramFolder& folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_folder(folder)
{
    setObjectName(QStringLiteral("SetTransFrm"));
    setWindowTitle(QStringLiteral("设置透明度"));
    setFixedSize(376, 170);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("qn--TSetTransFrm { background: white; }"));

    // The framed shape that fills the window: dragging it moves the window.
    shpBGSetTrans = new QFrame(this);
    shpBGSetTrans->setObjectName(QStringLiteral("shpBGSetTrans"));
    shpBGSetTrans->setGeometry(0, 0, 376, 170);
    shpBGSetTrans->setStyleSheet(
        QStringLiteral("#shpBGSetTrans { background: white; border: 2px solid %1; }").arg(skin::kFrame.name()));

    Label1 = new QLabel(QStringLiteral("背景透明度调节"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(YaHei(15));
    Label1->setStyleSheet(QStringLiteral("color: %1;").arg(skin::kAccent.darker(120).name()));
    Label1->setGeometry(14, 8, 200, 24);

    auto makeRadio = [this](const QString& name, const QString& text, int top) {
        auto* radio = new QRadioButton(text, this);
        radio->setObjectName(name);
        radio->setFont(YaHei(16));
        // A frame shows which choice has the keyboard focus.
        radio->setStyleSheet(
            QStringLiteral("QRadioButton { background: white; border: 1px solid white; }"
                           "QRadioButton:focus { border: 1px dotted #1E64C8; }"));
        radio->setGeometry(36, top, 130, 26);
        return radio;
    };
    auto makeHint = [this](const QString& name, const QString& text, int top) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setFont(YaHei(15));
        label->setStyleSheet(QStringLiteral("color: #1E64C8; background: white;"));
        label->setGeometry(168, top, 200, 26);
        return label;
    };
    rdiHalfTrans = makeRadio(QStringLiteral("rdiHalfTrans"), QStringLiteral(" 半透明效果  "), 50);
    Label2 = makeHint(QStringLiteral("Label2"), QStringLiteral("（适合各种壁纸颜色）"), 50);
    rdiAllTrans = makeRadio(QStringLiteral("rdiAllTrans"), QStringLiteral(" 全透明效果"), 86);
    Label3 = makeHint(QStringLiteral("Label3"), QStringLiteral("（适合较淡壁纸，蓝天白云等）"), 86);
    auto* group = new QButtonGroup(this);
    group->addButton(rdiHalfTrans);
    group->addButton(rdiAllTrans);

    const QString buttonStyle =
        QStringLiteral(
            "QPushButton { border: 1px solid %1; border-radius: 3px; background: %2; color: #203A5C; }"
            "QPushButton:hover { background: #DCE8F8; }"
            "QPushButton:pressed { background: #C4D8F2; }"
            "QPushButton:focus { border: 2px solid #1E64C8; }")
            .arg(skin::kAccentLight.name(), skin::kPaleBlue.name());
    btnok = new QPushButton(QStringLiteral("确  定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(200, 130, 75, 26);
    btncancel = new QPushButton(QStringLiteral("取  消"), this);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(286, 130, 75, 26);
    for (QPushButton* button : {btnok, btncancel}) {
        button->setStyleSheet(buttonStyle);
        button->setAutoDefault(false);
    }
    // Enter confirms, Escape cancels.
    btnok->setDefault(true);
    connect(btnok, &QPushButton::clicked, this, &TSetTransFrm::btnokClick);
    connect(btncancel, &QPushButton::clicked, this, &TSetTransFrm::btncancelClick);

    captionButtons = new TCaptionButtons(this, TCaptionButtons::Buttons::CloseOnly);
    captionButtons->watchBackground(shpBGSetTrans);
    connect(captionButtons, &TCaptionButtons::closeClicked, this, &TSetTransFrm::btncancelClick);

    auto* mover = new TBorderlessMover(this);
    mover->addHandle(shpBGSetTrans);
}

void TSetTransFrm::LoadTransMode()
{
    // Created with the full look; a failed write changes nothing else.
    const SettingsFile::ReadResult read =
        SettingsFile(m_folder.dataFile(SetTransName())).readOrCreate({QStringLiteral("1")});
    std::optional<int> mode;
    if (read.ok() && !read.lines.isEmpty())
        mode = ParseWholeNumber(read.lines.first());
    FTransMode = mode.value_or(1);
}

bool TSetTransFrm::SaveTransMode(int mode)
{
    FTransMode = mode;
    QString error;
    if (!SettingsFile(m_folder.dataFile(SetTransName())).write({QString::number(mode)}, &error)) {
        ShowErrorReport(this, error);
        return false;
    }
    return true;
}

void TSetTransFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSetTransFrm::FormShow()
{
    CentreOver(this);
    QRadioButton* const chosen = FTransMode == 1 ? rdiAllTrans : rdiHalfTrans;
    chosen->setChecked(true);
    // The keyboard starts on the choice in effect: arrows change it.
    chosen->setFocus();
    captionButtons->apply(SkinEvent::MoveOverBackground);
}

void TSetTransFrm::btnokClick()
{
    const bool saved = SaveTransMode(rdiHalfTrans->isChecked() ? 0 : 1);
    // A failed write keeps the window open, as any failing step does.
    if (saved)
        accept();
}

void TSetTransFrm::btncancelClick() { reject(); }

}  // namespace qn
