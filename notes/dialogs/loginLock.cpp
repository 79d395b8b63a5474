#include "notes/dialogs/loginLock.h"

#include "notes/frame/WidgetParts.h"

#include "core/Messages.h"
#include "notes/frame/BorderlessMove.h"
#include "notes/frame/SkinPictures.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>

#include <optional>

namespace qn {

namespace {

QFont SongTi(int pixelSize) { return ControlFont(QStringLiteral("宋体"), pixelSize); }

// The application's style, with "*" as the character of password boxes.
class StarEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void ShowStarsFor(QLineEdit* passwordBox)
{
    passwordBox->setEchoMode(QLineEdit::Password);
    auto* style = new StarEchoStyle;
    style->setParent(passwordBox);  // lives as long as the box
    passwordBox->setStyle(style);
}

TLockLogin::TLockLogin(const ProgramFolder& folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_folder(folder)
{
    setObjectName(QStringLiteral("LockLogin"));
    setWindowTitle(QStringLiteral("QN周记事本"));
    setFixedSize(246, 145);
    setFont(SongTi(12));

    // Light blue frame around a white panel.
    shpOuter = new QFrame(this);
    shpOuter->setObjectName(QStringLiteral("shpOuter"));
    shpOuter->setGeometry(0, 0, 246, 145);
    shpOuter->setStyleSheet(QStringLiteral("#shpOuter { background: #DCE7FF; border: 1px solid #99A8CE; }"));
    pnlWhite = new QFrame(this);
    pnlWhite->setObjectName(QStringLiteral("pnlWhite"));
    pnlWhite->setGeometry(2, 2, 242, 141);
    pnlWhite->setStyleSheet(QStringLiteral("#pnlWhite { background: white; border: 1px solid #92A8DA; }"));

    Image1 = PictureLabel(pnlWhite, QStringLiteral("Image1"), skin::LoginStrip(QSize(99, 9), true), QRect(1, 1, 99, 9));
    Image3 = PictureLabel(pnlWhite, QStringLiteral("Image3"), skin::LoginSide(), QRect(1, 10, 99, 120));
    Image2 =
        PictureLabel(pnlWhite, QStringLiteral("Image2"), skin::LoginStrip(QSize(99, 10), false), QRect(1, 130, 99, 10));

    // "忘记密码" has no action: the password lives in a file the user owns.
    btn1 = new QPushButton(QStringLiteral("忘记密码"), pnlWhite);
    btn1->setObjectName(QStringLiteral("btn1"));
    btn1->setGeometry(20, 110, 60, 16);
    btn1->setFlat(true);
    btn1->setAutoDefault(false);
    btn1->setFocusPolicy(Qt::NoFocus);
    btn1->setStyleSheet(QStringLiteral("QPushButton { border: none; color: #3A78C9; text-decoration: underline; }"));

    Panel2 = new QFrame(pnlWhite);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(101, 1, 140, 139);
    Panel2->setStyleSheet(QStringLiteral("#Panel2 { background: #E4EBFD; }"));
    img1 = PictureLabel(Panel2, QStringLiteral("img1"), skin::LoginHeader(), QRect(0, 0, 140, 35));

    Label1 = new QLabel(QStringLiteral("用户名：QN周记事本"), Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 44, 130, 18);
    Label2 = new QLabel(QStringLiteral("密  码："), Panel2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 71, 48, 18);

    edtPW = new QLineEdit(Panel2);
    edtPW->setObjectName(QStringLiteral("edtPW"));
    edtPW->setEchoMode(QLineEdit::Password);
    ShowStarsFor(edtPW);
    edtPW->setGeometry(56, 69, 78, 21);
    edtPW->installEventFilter(this);

    const QString flat = QStringLiteral(
        "QPushButton { border: 1px solid #8DB3EA; border-radius: 2px; background: white; color: #203A5C; }"
        "QPushButton:hover { background: #DCE8F8; }"
        "QPushButton:pressed { background: #C4D8F2; }");
    spdOK = new QPushButton(QStringLiteral("确定"), Panel2);
    spdOK->setObjectName(QStringLiteral("spdOK"));
    spdOK->setGeometry(20, 104, 48, 22);
    spdCancel = new QPushButton(QStringLiteral("取消"), Panel2);
    spdCancel->setObjectName(QStringLiteral("spdCancel"));
    spdCancel->setGeometry(76, 104, 48, 22);
    for (QPushButton* button : {spdOK, spdCancel}) {
        button->setStyleSheet(flat);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);  // flat buttons take no focus
    }
    connect(spdOK, &QPushButton::clicked, this, &TLockLogin::spdOKClick);
    connect(spdCancel, &QPushButton::clicked, this, &TLockLogin::spdCancelClick);

    auto* mover = new TBorderlessMover(this);
    for (QWidget* handle : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Image2), static_cast<QWidget*>(Image3),
                            static_cast<QWidget*>(img1), static_cast<QWidget*>(Panel2)})
        mover->addHandle(handle);

    LoginPassed = false;
}

void TLockLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    edtPW->setFocus();
}

bool TLockLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtPW && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            spdOKClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TLockLogin::spdOKClick()
{
    const std::optional<QString> line1 = PasswordFile(m_folder).loginLine();
    if (!line1) {
        // The file went away (or lost its lines) while the window was open.
        LoginPassed = false;
        requestTermination();
        return;
    }
    if (*line1 == kNoPasswordMarker) {
        LoginPassed = true;
        return;
    }
    if (edtPW->text() == *line1) {
        LoginPassed = true;
        accept();
        return;
    }
    ShowCaptionedMessage(this, QStringLiteral("登陆提示"), QStringLiteral("密码不正确,请重新输入登录密码!"));
    edtPW->clear();
    edtPW->setFocus();
}

void TLockLogin::spdCancelClick()
{
    LoginPassed = false;
    requestTermination();
}

void TLockLogin::requestTermination()
{
    FTerminateRequested = true;
    emit terminateRequested();
    reject();
}

bool CheckLogin(const ProgramFolder& folder, QWidget* mainWindow)
{
    const std::optional<QString> line1 = PasswordFile(folder).loginLineAtStartUp();
    if (!line1 || *line1 == kNoPasswordMarker)
        return true;
    TLockLogin login(folder, mainWindow);
    login.exec();
    return login.LoginPassed;
}

}  // namespace qn
