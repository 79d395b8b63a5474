#include "tools/qncal/HolidayTable.h"

#include "holidays/HolidayData.h"
#include "tools/qncal/CommandLine.h"

#include <utility>

namespace qncal {

qn::HolidayCalendar LoadHolidayTable(const std::optional<std::string>& namedFile,
                                     const std::filesystem::path& notebookFile, std::ostream& err)
{
    if (namedFile) {
        if (namedFile->empty())
            throw BadInput("选项 --holidays 缺少文件名（例：--holidays 放假安排.csv）");
        const qn::HolidayFileRead read = qn::ReadHolidayFile(*namedFile);
        switch (read.status) {
        case qn::HolidayFileRead::Status::Missing: throw BadInput("放假安排文件不存在：" + *namedFile);
        case qn::HolidayFileRead::Status::Rejected:
            throw BadInput("放假安排文件 " + *namedFile + " 不能用：" + read.error);
        case qn::HolidayFileRead::Status::Ok: break;
        }
        return qn::HolidayCalendar(qn::MergeNoticeYears(qn::BuiltInHolidayRows(), read.rows));
    }
    if (notebookFile.empty())
        return qn::HolidayCalendar(qn::BuiltInHolidayRows());
    qn::HolidayLoad load = qn::LoadHolidays(notebookFile);
    if (!load.warning.empty())
        err << "qncal: " << load.warning << '\n';
    return std::move(load.calendar);
}

}  // namespace qncal
