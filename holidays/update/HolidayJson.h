#pragma once
// Reads one year's file of the open holiday data set:
//
//   {"year": 2025, "papers": ["https://…"],
//    "days": [{"name": "元旦", "date": "2025-01-01", "isOffDay": true}, …]}
//
// into rows of our own table, with the file's year as their notice year.
// Everything is checked before anything is returned: one bad entry rejects
// the file, with the reason.

#include "holidays/HolidayRows.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace qn {

struct HolidayJsonResult {
    enum class Status {
        Ok,         // rows holds the notice's days
        Empty,      // a well-formed file without days: the notice is not out yet
        Malformed,  // error says why
        WrongYear,  // a sound file, but of another year than the one asked for
    };
    Status status = Status::Malformed;
    std::vector<HolidayRow> rows;
    QString error;
    bool ok() const { return status == Status::Ok; }
};

HolidayJsonResult ParseHolidayJson(const QByteArray& bytes, int expectedYear);

}  // namespace qn
