#include "notes/dialogs/untPWSet.h"

#include "notes/frame/WidgetParts.h"

#include "core/Messages.h"
#include "notes/dialogs/loginLock.h"
#include "notes/dialogs/PasswordFile.h"
#include "notes/frame/BorderlessMove.h"
#include "notes/frame/SkinPictures.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

namespace qn {

namespace {

QFont YaHei(int pixelSize, bool bold = false) { return ControlFont(QStringLiteral("微软雅黑"), pixelSize, bold); }

}  // namespace

TpwsetFrm::TpwsetFrm(const ProgramFolder& folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_folder(folder)
{
    setObjectName(QStringLiteral("pwsetFrm"));
    setWindowTitle(QStringLiteral("登录密码设置"));
    setFixedSize(442, 222);
    setFont(YaHei(13));

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(0, 0, 442, 222);
    Shape1->setStyleSheet(
        QStringLiteral("#Shape1 { background: white; border: 1px solid %1; }").arg(skin::kFrame.name()));

    Image1 =
        PictureLabel(this, QStringLiteral("Image1"), skin::PasswordTitleStrip(QSize(440, 32)), QRect(1, 1, 440, 32));
    Image2 = PictureLabel(this, QStringLiteral("Image2"), skin::PasswordIcon(), QRect(10, 5, 24, 24));
    lblTitle = new QLabel(QStringLiteral("登录密码设置"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(YaHei(14, true));
    lblTitle->setStyleSheet(QStringLiteral("color: #203A5C;"));
    lblTitle->setGeometry(40, 6, 200, 22);
    // The title is part of the strip: dragging it moves the window too.
    lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);

    JvXPToolButton1 = new QToolButton(this);
    JvXPToolButton1->setObjectName(QStringLiteral("JvXPToolButton1"));
    JvXPToolButton1->setToolTip(QStringLiteral("关闭"));
    JvXPToolButton1->setIcon(QIcon(skin::CaptionButton(skin::ButtonKind::Close, SkinState::Normal)));
    JvXPToolButton1->setIconSize(QSize(39, 20));
    JvXPToolButton1->setGeometry(442 - 1 - 39, 1, 39, 20);
    JvXPToolButton1->setAutoRaise(true);
    JvXPToolButton1->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                                  "QToolButton:hover { background: %1; }"
                                                  "QToolButton:pressed { background: %2; }")
                                       .arg(skin::kCloseRed.name(), skin::kCloseRedDown.name()));
    connect(JvXPToolButton1, &QToolButton::clicked, this, &TpwsetFrm::JvXPToolButton1Click);

    Image3 = PictureLabel(this, QStringLiteral("Image3"), skin::PasswordBody(), QRect(24, 56, 100, 110));

    JCheckbox1 = new QCheckBox(QStringLiteral("启动登录密码"), this);
    JCheckbox1->setObjectName(QStringLiteral("JCheckbox1"));
    JCheckbox1->setGeometry(150, 50, 200, 24);

    lblPassword = new QLabel(QStringLiteral("请输入登录密码："), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    lblPassword->setGeometry(150, 88, 110, 22);
    edit1 = new QLineEdit(this);
    edit1->setObjectName(QStringLiteral("edit1"));
    ShowStarsFor(edit1);
    edit1->setGeometry(262, 87, 150, 24);

    lblConfirm = new QLabel(QStringLiteral("请再次输入密码："), this);
    lblConfirm->setObjectName(QStringLiteral("lblConfirm"));
    lblConfirm->setGeometry(150, 124, 110, 22);
    edit2 = new QLineEdit(this);
    edit2->setObjectName(QStringLiteral("edit2"));
    ShowStarsFor(edit2);
    edit2->setGeometry(262, 123, 150, 24);

    JvXPButton1 = new QPushButton(QStringLiteral("应   用"), this);
    JvXPButton1->setObjectName(QStringLiteral("JvXPButton1"));
    JvXPButton1->setGeometry(332, 172, 80, 28);
    JvXPButton1->setAutoDefault(false);
    JvXPButton1->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px solid %1; border-radius: 3px; background: %2; color: #203A5C; }"
                       "QPushButton:hover { background: #DCE8F8; }"
                       "QPushButton:pressed { background: #C4D8F2; }")
            .arg(skin::kAccentLight.name(), skin::kPaleBlue.name()));
    connect(JvXPButton1, &QPushButton::clicked, this, &TpwsetFrm::JvXPButton1Click);

    auto* mover = new TBorderlessMover(this);
    mover->addHandle(Shape1);
    mover->addHandle(Image1);
    mover->addHandle(Image3);
}

void TpwsetFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TpwsetFrm::FormShow()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));

    QString error;
    const std::optional<bool> switchedOn = PasswordFile(m_folder).passwordSwitchedOn(&error);
    if (!switchedOn) {
        ShowErrorReport(this, error);
        return;
    }
    if (*switchedOn)
        JCheckbox1->setChecked(true);
}

void TpwsetFrm::JvXPButton1Click()
{
    const PasswordFile file(m_folder);
    QString error;
    bool written = false;
    QString success;
    if (JCheckbox1->isChecked()) {
        if (edit1->text().isEmpty()) {
            ShowPlainMessage(this, QStringLiteral("请输入登录密码!"));
            edit1->setFocus();
            return;
        }
        if (edit2->text().isEmpty()) {
            ShowPlainMessage(this, QStringLiteral("请再次输入登录密码!"));
            edit2->setFocus();
            return;
        }
        if (edit1->text() != edit2->text()) {
            ShowPlainMessage(this, QStringLiteral("两次输入的密码不一致!"));
            return;
        }
        // The file keeps one value per line: a line break inside the password
        // would split it and lose the setting.
        if (edit1->text().contains(QLatin1Char('\r')) || edit1->text().contains(QLatin1Char('\n'))) {
            ShowPlainMessage(this, QStringLiteral("密码不能包含换行符!"));
            edit1->setFocus();
            return;
        }
        written = file.writePassword(edit1->text(), edit2->text(), &error);
        success = QStringLiteral("设置登录密码成功!");
    } else {
        written = file.writeNoPassword(&error);
        success = QStringLiteral("取消密码成功!");
    }
    // Success is only told once the file is really on the disk.
    if (!written) {
        ShowErrorReport(this, error);
        return;
    }
    ShowCaptionedMessage(this, QStringLiteral("提示"), success);
    accept();
}

void TpwsetFrm::JvXPToolButton1Click() { reject(); }

}  // namespace qn
