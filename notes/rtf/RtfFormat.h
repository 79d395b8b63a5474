#pragma once
// Shared by the RTF writer and reader: how a run's size and underline are
// spelled in RTF, and the family / character set of a run's format.

#include <QTextCharFormat>

namespace qn::rtf {

// The family a format names itself, empty when it takes the document's.
QString FamilyOf(const QTextCharFormat& format);

// Underline styles and their control words, in one table for both sides.
struct UnderlineWord {
    QTextCharFormat::UnderlineStyle style;
    const char* word;
};
inline constexpr UnderlineWord UnderlineWords[] = {
    {QTextCharFormat::SingleUnderline, "ul"},
    {QTextCharFormat::DashUnderline, "uldash"},
    {QTextCharFormat::DotLine, "uld"},
    {QTextCharFormat::DashDotLine, "uldashd"},
    {QTextCharFormat::DashDotDotLine, "uldashdd"},
    {QTextCharFormat::WaveUnderline, "ulwave"},
};

// Limits that keep a hostile size from reaching the layout (Windows stops
// at 1638 points as well).
inline constexpr int MaxHalfPoints = 3276;
inline constexpr int MaxPixels = 2184;
inline constexpr int MaxCentiPoints = 163800;

}  // namespace qn::rtf
