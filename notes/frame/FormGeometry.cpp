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
    for (QScreen* screen : screens)
        layout.screens.append(screen->geometry());
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

bool IsReachable(const QRect& rect, const ScreenLayout& screens)
{
    const int needW = std::min(kReachableWidth, std::max(1, rect.width()));
    const int needH = std::min(kReachableHeight, std::max(1, rect.height()));
    for (const QRect& screen : screens.screens) {
        const QRect seen = screen.intersected(rect);
        if (seen.width() >= needW && seen.height() >= needH)
            return true;
    }
    return false;
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
    const SettingsFile file(folder.dataFile(FormSizeName()));
    const SettingsFile::ReadResult read = file.read();

    if (read.status == SettingsFile::Status::Missing) {
        result.outcome = FormSizeLoad::Outcome::Created;
        g.FSaveWidth = kDesignWidth;
        g.FSaveHeight = kDesignHeight;
        g.FSaveLeft = (screens.primary.width() - kDesignWidth) / 2;
        g.FSaveTop = (screens.primary.height() - kTaskbarAllowance - kDesignHeight) / 2;
        g.FViewNo = 1;
        const QStringList lines = {QString::number(g.FViewNo),     QString::number(g.FSaveWidth),
                                   QString::number(g.FSaveHeight), QString::number(g.FSaveLeft),
                                   QString::number(g.FSaveTop),    monthText};
        file.write(lines, &result.error);
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
    // A monitor that has gone away must not take the window with it.
    const QRect stored(g.FSaveLeft, g.FSaveTop, std::max(1, g.FSaveWidth), std::max(1, g.FSaveHeight));
    if (!IsReachable(stored, screens)) {
        const QPoint moved = CentredOnPrimary(stored.size(), screens);
        g.FSaveLeft = moved.x();
        g.FSaveTop = moved.y();
        result.movedOnScreen = true;
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
