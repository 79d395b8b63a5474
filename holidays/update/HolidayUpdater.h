#pragma once
// Fetches notice years of the holiday table and lays them into the user's
// Data/cn-holidays.csv, without blocking the window: start() returns at once
// and finished() reports the outcome.
//
// Nothing changes unless everything went well: every requested year is
// downloaded and checked first, and only then is the user's file rewritten,
// in one atomic step. A failure (no network, HTTP 404, malformed JSON, a file
// of the wrong year, an empty file) leaves the file byte for byte as it was
// and says why in Chinese. Each check, good or bad, is recorded as the last
// check in the update settings.

#include "core/ProgramFolder.h"
#include "holidays/HolidayRows.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;

namespace qn {

struct HolidayUpdateResult {
    bool ok = false;
    bool changed = false;  // the user's file was rewritten; reload the table
    QString message;       // what to tell the user, success or failure
};

struct HolidayYearRequest {
    int year = 0;
    // The next year's notice is usually published in the autumn: until then
    // its file is missing or empty, which is not a failure.
    bool mayBeUnpublished = false;
};

class HolidayUpdater : public QObject {
    Q_OBJECT
public:
    // Downloads larger than this are refused: a year's file is a few KB.
    static constexpr qint64 kMaxDownloadBytes = 1024 * 1024;
    static constexpr int kTimeoutMs = 30000;

    explicit HolidayUpdater(ProgramFolder folder, QObject* parent = nullptr);
    ~HolidayUpdater() override;

    // The years a check asks for: this year, and the next one if published.
    static QList<HolidayYearRequest> YearsToCheck(const QDate& today);

    // Starts fetching the years from the address pattern ({year} replaced).
    // False, with nothing started, while a check is running.
    bool start(const QString& urlPattern, const QList<HolidayYearRequest>& years);
    // The same with the stored address and this year and the next.
    bool start();
    // Starts a check when the stored settings say one is due.
    bool startIfDue();
    bool isRunning() const { return !pending_.isEmpty(); }

    // The clock for the last-check time and the years to check (tests).
    void setClock(std::function<QDateTime()> now) { now_ = std::move(now); }

signals:
    void finished(const qn::HolidayUpdateResult& result);

private:
    struct Pending {
        HolidayYearRequest request;
        QPointer<QNetworkReply> reply;
        bool done = false;
        bool unpublished = false;
        std::vector<HolidayRow> rows;
        QString error;
    };
    void onReplyFinished(QNetworkReply* reply);
    void finish();
    HolidayUpdateResult applyDownloads();
    void report(const HolidayUpdateResult& result);

    ProgramFolder folder_;
    QNetworkAccessManager* network_;
    QList<Pending> pending_;
    std::function<QDateTime()> now_;
};

}  // namespace qn

Q_DECLARE_METATYPE(qn::HolidayUpdateResult)
