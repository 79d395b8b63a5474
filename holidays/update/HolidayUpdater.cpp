#include "holidays/update/HolidayUpdater.h"

#include "holidays/HolidayData.h"
#include "holidays/update/HolidayJson.h"
#include "holidays/update/HolidayUpdateSettings.h"
#include "holidays/update/UserHolidayFile.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>
#include <QTimer>

#include <algorithm>

namespace qn {

namespace {

const char* const kTooLargeProperty = "qnTooLarge";

std::vector<HolidayRow> RowsOfNotice(const std::vector<HolidayRow>& rows, int noticeYear)
{
    std::vector<HolidayRow> of;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(of),
                 [noticeYear](const HolidayRow& row) { return row.noticeYear == noticeYear; });
    return of;
}

QString YearList(const QList<int>& years)
{
    QStringList texts;
    for (int year : years)
        texts << QString::number(year);
    return texts.join(QStringLiteral("、")) + QStringLiteral(" 年");
}

}  // namespace

HolidayUpdater::HolidayUpdater(ProgramFolder folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), network_(new QNetworkAccessManager(this)),
      now_([] { return QDateTime::currentDateTimeUtc(); })
{
    qRegisterMetaType<qn::HolidayUpdateResult>();
}

HolidayUpdater::~HolidayUpdater()
{
    // Aborting a reply emits finished(); nothing may react to it any more.
    for (Pending& p : pending_) {
        if (p.reply) {
            p.reply->disconnect(this);
            p.reply->abort();
        }
    }
}

QList<HolidayYearRequest> HolidayUpdater::YearsToCheck(const QDate& today)
{
    return {{today.year(), false}, {today.year() + 1, true}};
}

bool HolidayUpdater::start()
{
    return start(LoadHolidayUpdateSettings(folder_).url, YearsToCheck(now_().toLocalTime().date()));
}

bool HolidayUpdater::startIfDue()
{
    if (isRunning() || !IsHolidayCheckDue(LoadHolidayUpdateSettings(folder_), now_()))
        return false;
    return start();
}

bool HolidayUpdater::start(const QString& urlPattern, const QList<HolidayYearRequest>& years)
{
    if (isRunning() || years.isEmpty())
        return false;
    for (const HolidayYearRequest& request : years)
        pending_.append(Pending{request, nullptr, false, false, {}, {}});

    if (!IsValidHolidayUrlPattern(urlPattern)) {
        // Reported like any other failure: after start() has returned.
        for (Pending& p : pending_) {
            p.done = true;
            p.error = QStringLiteral("下载地址无效（应为 http 或 https 地址，并含有 {year}）：%1").arg(urlPattern);
        }
        QTimer::singleShot(0, this, &HolidayUpdater::finish);
        return true;
    }
    for (Pending& p : pending_) {
        QNetworkRequest request(HolidayYearUrl(urlPattern, p.request.year));
        request.setTransferTimeout(kTimeoutMs);
        request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("QNWeekNote holiday update"));
        QNetworkReply* reply = network_->get(request);
        p.reply = reply;
        connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
            if (received > kMaxDownloadBytes || total > kMaxDownloadBytes) {
                reply->setProperty(kTooLargeProperty, true);
                reply->abort();
            }
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
    }
    return true;
}

void HolidayUpdater::onReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    const auto found =
        std::find_if(pending_.begin(), pending_.end(), [reply](const Pending& p) { return p.reply == reply; });
    if (found == pending_.end())
        return;
    Pending& p = *found;
    p.done = true;
    const int year = p.request.year;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();

    if (reply->property(kTooLargeProperty).toBool()) {
        p.error = QStringLiteral("%1 年的文件过大（超过 1 MB），不是放假安排").arg(year);
    } else if (status == 404 || status == 410) {
        if (p.request.mayBeUnpublished)
            p.unpublished = true;
        else
            p.error = QStringLiteral("服务器上没有 %1 年的文件（HTTP %2）").arg(year).arg(status);
    } else if (status != 0 && (status < 200 || status > 299)) {
        p.error = QStringLiteral("服务器拒绝了 %1 年的请求（HTTP %2）").arg(year).arg(status);
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        p.error = QStringLiteral("下载 %1 年的文件超时").arg(year);
    } else if (reply->error() != QNetworkReply::NoError) {
        p.error = QStringLiteral("网络错误：%1").arg(reply->errorString());
    } else {
        const QByteArray bytes = reply->read(kMaxDownloadBytes + 1);
        if (bytes.size() > kMaxDownloadBytes) {
            p.error = QStringLiteral("%1 年的文件过大（超过 1 MB），不是放假安排").arg(year);
        } else {
            HolidayJsonResult parsed = ParseHolidayJson(bytes, year);
            switch (parsed.status) {
            case HolidayJsonResult::Status::Ok: p.rows = std::move(parsed.rows); break;
            case HolidayJsonResult::Status::Empty:
                if (p.request.mayBeUnpublished)
                    p.unpublished = true;
                else
                    p.error = QStringLiteral("%1 年的文件是空的，没有放假安排").arg(year);
                break;
            case HolidayJsonResult::Status::WrongYear: p.error = parsed.error; break;
            case HolidayJsonResult::Status::Malformed:
                p.error = QStringLiteral("%1 年的文件格式有误：%2").arg(year).arg(parsed.error);
                break;
            }
        }
    }
    if (std::all_of(pending_.begin(), pending_.end(), [](const Pending& q) { return q.done; }))
        finish();
}

void HolidayUpdater::finish()
{
    QStringList errors;
    for (const Pending& p : pending_) {
        if (!p.error.isEmpty() && !errors.contains(p.error))
            errors << p.error;
    }
    HolidayUpdateResult result;
    if (!errors.isEmpty())
        result.message = QStringLiteral("放假安排没有更新：") + errors.join(QStringLiteral("；"));
    else
        result = applyDownloads();
    pending_.clear();
    report(result);
}

HolidayUpdateResult HolidayUpdater::applyDownloads()
{
    HolidayUpdateResult result;
    std::vector<HolidayRow> fetched;
    QList<int> fetchedYears, unpublishedYears;
    for (const Pending& p : pending_) {
        if (p.unpublished) {
            unpublishedYears << p.request.year;
            continue;
        }
        fetched.insert(fetched.end(), p.rows.begin(), p.rows.end());
        fetchedYears << p.request.year;
    }
    const QString notYet =
        unpublishedYears.isEmpty() ? QString() : QStringLiteral("（%1的通知尚未发布）").arg(YearList(unpublishedYears));

    const QString path = UserHolidayFilePath(folder_);
    const HolidayFileRead current = ReadHolidayFile(path.toStdString());
    if (current.status == HolidayFileRead::Status::Rejected) {
        result.message = QStringLiteral("放假安排没有更新：现有的文件 %1 有误，没有改动它：%2")
                             .arg(path, QString::fromStdString(current.error));
        return result;
    }
    const std::vector<HolidayRow> inUse = MergeNoticeYears(BuiltInHolidayRows(), current.rows);
    QList<int> changedYears;
    for (int year : fetchedYears) {
        if (RowsOfNotice(inUse, year) != RowsOfNotice(fetched, year))
            changedYears << year;
    }
    result.ok = true;
    if (changedYears.isEmpty()) {
        result.message = fetchedYears.isEmpty()
            ? QStringLiteral("放假安排没有变化") + notYet
            : QStringLiteral("放假安排已是最新（%1）").arg(YearList(fetchedYears)) + notYet;
        return result;
    }
    QString error;
    if (!WriteUserHolidayFile(path, MergeNoticeYears(current.rows, fetched), &error)) {
        result.ok = false;
        result.message = QStringLiteral("放假安排没有更新：") + error;
        return result;
    }
    result.changed = true;
    result.message = QStringLiteral("已更新 %1的放假安排").arg(YearList(changedYears)) + notYet;
    return result;
}

void HolidayUpdater::report(const HolidayUpdateResult& result)
{
    HolidayUpdateResult reported = result;
    HolidayUpdateSettings settings = LoadHolidayUpdateSettings(folder_);
    settings.lastCheck = now_();
    settings.lastResult = result.message;
    QString error;
    if (!SaveHolidayUpdateSettings(folder_, settings, &error))
        reported.message += QStringLiteral("（无法记录这次检查：%1）").arg(error);
    emit finished(reported);
}

}  // namespace qn
