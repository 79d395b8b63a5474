#pragma once
// A notebook of 100 years for the benchmarks: 5,200 weeks of six notes of
// about 2 KB of diary-like Chinese each (some Latin words and digits among
// it), stored as the notebook stores them, with the search index built.
// Generating it takes a while, so the file is kept between runs
// (QN_BENCH_NOTEBOOK names it; default in the temporary folder) and copied
// into each benchmark's own folder.

#include <QString>

#include <string>

namespace bench {

inline constexpr int kWeeks = 5200;
inline constexpr int kBoxesPerWeek = 6;

// The first Monday of the notebook; the last week starts kWeeks - 1 weeks later.
inline constexpr int kFirstYear = 1925;

struct GeneratedNotebook {
    QString path;                // the kept file
    double generateSeconds = 0;  // 0 when it was already there
    double indexSeconds = 0;     // building the search index from nothing
};

// The kept notebook, generated first when it is missing.
GeneratedNotebook HundredYearNotebook();

// Copies the kept notebook into dataFolder as UserData.mdb.
bool CopyNotebookInto(const QString& dataFolder);

// The diary text of one box (deterministic).
QString DiaryText(int week, int box);

}  // namespace bench
