#include "notes/frame/FormGeometry.h"

#include "core/Messages.h"
#include "core/SettingsFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qn {

namespace {

constexpr int kDesignWidth = 906;
constexpr int kDesignHeight = 540;
constexpr int kTaskbarAllowance = 30;  // the first start leaves room for a taskbar
constexpr int kReachableWidth = 30;
constexpr int kReachableHeight = 20;

QString FormSizeName() { return QStringLiteral("FormSize.ini"); }

}  // namespace

ScreenLayout ScreenLayout::Current()
{
    ScreenLayout layout;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        layout.primary = primary->geometry();
    else
        layout.primary = QRect(0, 0, 1024, 768);
    const auto screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        layout.screens.append(screen->geometry());
        layout.available.append(screen->availableGeometry());
    }
    if (layout.screens.isEmpty())
        layout.screens.append(layout.primary);
    return layout;
}

ScreenLayout ScreenLayout::Single(int width, int height)
{
    ScreenLayout layout;
    layout.primary = QRect(0, 0, width, height);
    layout.screens = {layout.primary};
    return layout;
}

namespace {

// Width and height of the part of rect that a screen shows.
QSize Seen(const StoredRect& rect, const QRect& screen)
{
    const qint64 left = std::max<qint64>(rect.left, screen.x());
    const qint64 top = std::max<qint64>(rect.top, screen.y());
    const qint64 right = std::min<qint64>(rect.left + rect.width, qint64(screen.x()) + screen.width());
    const qint64 bottom = std::min<qint64>(rect.top + rect.height, qint64(screen.y()) + screen.height());
    // A piece is never larger than the screen, so it fits an int.
    return {int(std::max<qint64>(0, right - left)), int(std::max<qint64>(0, bottom - top))};
}

}  // namespace

bool IsReachable(const StoredRect& rect, const ScreenLayout& screens)
{
    const qint64 needW = std::min<qint64>(kReachableWidth, std::max<qint64>(1, rect.width));
    const qint64 needH = std::min<qint64>(kReachableHeight, std::max<qint64>(1, rect.height));
    for (const QRect& screen : screens.screens) {
        const QSize seen = Seen(rect, screen);
        if (seen.width() >= needW && seen.height() >= needH)
            return true;
    }
    return false;
}

bool IsReachable(const QRect& rect, const ScreenLayout& screens)
{
    return IsReachable(StoredRect{rect.x(), rect.y(), rect.width(), rect.height()}, screens);
}

QRect AvailableAreaFor(const StoredRect& rect, const ScreenLayout& screens)
{
    qint64 bestArea = 0;
    QRect best;
    for (qsizetype i = 0; i < screens.screens.size(); ++i) {
        const QSize seen = Seen(rect, screens.screens.at(i));
        const qint64 area = qint64(seen.width()) * seen.height();
        if (area > bestArea) {
            bestArea = area;
            best = screens.availableOf(i);
        }
    }
    if (bestArea > 0)
        return best;
    const qsizetype primary = screens.screens.indexOf(screens.primary);
    return primary >= 0 ? screens.availableOf(primary) : screens.primary;
}

QPoint CentredOnPrimary(const QSize& size, const ScreenLayout& screens)
{
    const QRect& p = screens.primary;
    const int left = p.x() + std::max(0, (p.width() - size.width()) / 2);
    const int top = p.y() + std::max(0, (p.height() - kTaskbarAllowance - size.height()) / 2);
    return {left, top};
}

FormSizeLoad ReadFormSize(const ProgramFolder& folder, FormGeometry& g, const QString& monthText,
                          const ScreenLayout& screens)
{
    FormSizeLoad result;
    const int defaultLeft = (screens.primary.width() - kDesignWidth) / 2;
    const int defaultTop = (screens.primary.height() - kTaskbarAllowance - kDesignHeight) / 2;
    const SettingsFile::ReadResult read =
        SettingsFile(folder.dataFile(FormSizeName()))
            .readOrCreate({QStringLiteral("1"), QString::number(kDesignWidth), QString::number(kDesignHeight),
                           QString::number(defaultLeft), QString::number(defaultTop), monthText});

    if (read.status == SettingsFile::Status::Created) {
        result.outcome = FormSizeLoad::Outcome::Created;
        result.error = read.error;
        g.FSaveWidth = kDesignWidth;
        g.FSaveHeight = kDesignHeight;
        g.FSaveLeft = defaultLeft;
        g.FSaveTop = defaultTop;
        g.FViewNo = 1;
        return result;
    }

    if (!read.ok()) {
        result.outcome = FormSizeLoad::Outcome::Garbled;
        result.error = read.error;
        return result;
    }

    int* const fields[] = {&g.FViewNo, &g.FSaveWidth, &g.FSaveHeight, &g.FSaveLeft, &g.FSaveTop};
    for (int i = 0; i < 5; ++i) {
        if (i >= read.lines.size()) {
            result.outcome = FormSizeLoad::Outcome::Garbled;
            result.error = QStringLiteral("窗口位置文件 FormSize.ini 缺少第 %1 行").arg(i + 1);
            return result;
        }
        const std::optional<int> value = ParseWholeNumber(read.lines.at(i));
        if (!value) {
            result.outcome = FormSizeLoad::Outcome::Garbled;
            result.error =
                QStringLiteral("“%1”不是有效的整数（FormSize.ini 第 %2 行）").arg(read.lines.at(i).left(40)).arg(i + 1);
            return result;
        }
        *fields[i] = *value;
    }
    if (read.lines.size() > 5)
        g.FMonthLine = read.lines.at(5);

    result.outcome = FormSizeLoad::Outcome::Read;
    StoredRect stored{g.FSaveLeft, g.FSaveTop, std::max(1, g.FSaveWidth), std::max(1, g.FSaveHeight)};
    // A window larger than the screen would have its close button out of
    // reach (and a huge one costs a huge buffer): it takes the screen's
    // available size, from that area's edge.
    const QRect area = AvailableAreaFor(stored, screens);
    if (stored.width > area.width()) {
        stored.width = area.width();
        stored.left = area.x();
        result.sizeClamped = true;
    }
    if (stored.height > area.height()) {
        stored.height = area.height();
        stored.top = area.y();
        result.sizeClamped = true;
    }
    // A monitor that has gone away must not take the window with it.
    if (!IsReachable(stored, screens)) {
        const QPoint moved = CentredOnPrimary(QSize(int(stored.width), int(stored.height)), screens);
        stored.left = moved.x();
        stored.top = moved.y();
    }
    result.movedOnScreen = stored.left != g.FSaveLeft || stored.top != g.FSaveTop;
    // Every value now lies within a screen: back to int without loss.
    g.FSaveLeft = int(stored.left);
    g.FSaveTop = int(stored.top);
    if (result.sizeClamped) {
        g.FSaveWidth = int(stored.width);
        g.FSaveHeight = int(stored.height);
    }
    return result;
}

bool WriteFormSize(const ProgramFolder& folder, const FormGeometry& g, QString* error)
{
    const QStringList lines = {QString::number(g.FViewNo),     QString::number(g.FSaveWidth),
                               QString::number(g.FSaveHeight), QString::number(g.FSaveLeft),
                               QString::number(g.FSaveTop),    g.FMonthLine.value_or(QStringLiteral("4"))};
    return SettingsFile(folder.dataFile(FormSizeName())).write(lines, error);
}

FormSizeLoad LoadFormSize(QWidget* window, FormGeometry& g, const ProgramFolder& folder, const QString& monthText,
                          const ScreenLayout& screens)
{
    FormSizeLoad result = ReadFormSize(folder, g, monthText, screens);
    if (result.outcome == FormSizeLoad::Outcome::Garbled) {
        ShowErrorReport(window, result.error);
        return result;
    }
    if (window) {
        window->resize(g.FSaveWidth, g.FSaveHeight);
        window->move(g.FSaveLeft, g.FSaveTop);
    }
    if (result.outcome == FormSizeLoad::Outcome::Created && !result.error.isEmpty())
        ShowErrorReport(window, result.error);
    return result;
}

bool SaveFormSize(const QWidget* window, FormGeometry& g, const ProgramFolder& folder, QString* error)
{
    if (window) {
        const QRect frame = window->frameGeometry();
        g.FSaveWidth = window->width();
        g.FSaveHeight = window->height();
        g.FSaveLeft = frame.x();
        g.FSaveTop = frame.y();
    }
    return WriteFormSize(folder, g, error);
}

}  // namespace qn
