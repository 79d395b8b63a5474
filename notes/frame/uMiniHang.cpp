#include "notes/frame/uMiniHang.h"

#include "core/Messages.h"
#include "core/SettingsFile.h"
#include "notes/frame/BorderlessMove.h"
#include "notes/frame/SkinPictures.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QShowEvent>

namespace qn {

namespace {

QString MinCfgName() { return QStringLiteral("mincfg.ini"); }

QPoint DefaultMiniPos(const ScreenLayout& screens) { return {screens.primary.width() - 61, 10}; }

}  // namespace

TMiniHangFrm::TMiniHangFrm(const ProgramFolder& folder, QWidget* parent, const ScreenLayout& screens)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_folder(folder),
      m_screens(screens)
{
    setObjectName(QStringLiteral("MiniHangFrm"));
    setWindowTitle(QStringLiteral("悬浮窗"));
    setMinimumWidth(51);
    setMaximumWidth(132);
    setAttribute(Qt::WA_TranslucentBackground);

    imgBG = new QLabel(this);
    imgBG->setObjectName(QStringLiteral("imgBG"));
    imgBG->setPixmap(skin::FloatingBadge());
    imgBG->setScaledContents(true);
    imgBG->setToolTip(QStringLiteral("双击返回QN周记事本"));
    imgBG->installEventFilter(this);
    resize(50, 50);

    auto* mover = new TBorderlessMover(this);
    mover->addHandle(imgBG);

    LoadMiniPos();
}

void TMiniHangFrm::LoadMiniPos()
{
    const QPoint defaultPos = DefaultMiniPos(m_screens);
    const SettingsFile::ReadResult read =
        SettingsFile(m_folder.dataFile(MinCfgName()))
            .readOrCreate({QString::number(defaultPos.x()), QString::number(defaultPos.y())});
    int* const fields[] = {&FPosLeft, &FPosTop};
    for (int i = 0; i < 2; ++i) {
        if (!read.ok() || i >= read.lines.size())
            return;
        const std::optional<int> value = ParseWholeNumber(read.lines.at(i));
        if (!value)
            return;
        *fields[i] = *value;
    }
}

bool TMiniHangFrm::SaveMiniPos(QString* error)
{
    return SettingsFile(m_folder.dataFile(MinCfgName())).write({QString::number(x()), QString::number(y())}, error);
}

void TMiniHangFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMiniHangFrm::FormShow()
{
    resize(50, 50);  // the width limit makes it 51 wide
    QPoint pos(FPosLeft, FPosTop);
    // A place on a monitor that has gone away would leave nothing on screen
    // to bring the notebook back with.
    if (!IsReachable(StoredRect{FPosLeft, FPosTop, width(), height()}, m_screens))
        pos = DefaultMiniPos(m_screens);
    move(pos);
}

void TMiniHangFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    imgBG->setGeometry(rect());  // the picture is stretched over the whole window
    // Shaped like the picture, so that its rounded corners show the desktop
    // even where no compositor draws translucent windows.
    const QPixmap shape = imgBG->pixmap().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!shape.isNull())
        setMask(shape.mask());
}

bool TMiniHangFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgBG) {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            imgBGDblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMiniHangFrm::imgBGDblClick()
{
    hide();
    FPosLeft = x();
    FPosTop = y();
    emit restoreMainWindow();
    QString error;
    if (!SaveMiniPos(&error))
        ShowErrorReport(nullptr, error);
}

}  // namespace qn
