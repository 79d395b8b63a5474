#pragma once
// Export of the notes of any range of days: one heading per week with its
// dates and lunar dates, then the days in order, each under a heading with
// its date and lunar date; days without text and weeks without any are left
// out. Markdown, HTML (keeping bold, italic, colour and size) or plain
// text, always UTF-8.

#include "store/StoreStatus.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

struct sqlite3;

enum class ExportFormat { Markdown, Html, Text };

// "md", "html", "txt" (the command line's names) and the file suffixes.
std::optional<ExportFormat> ExportFormatNamed(const QString& name);
QString ExportSuffix(ExportFormat format);

struct RangeExportResult {
    QByteArray bytes;  // UTF-8
    int days = 0;      // days with text
    qn::StoreStatus status = qn::StoreStatus::Ok;
};

// The notes from..to (both included) as read from the database now. The
// shared weekend note is in when Saturday or Sunday is.
RangeExportResult ExportRange(sqlite3* db, const QDate& from, const QDate& to, ExportFormat format);

// The first and last day that has a stored note, for "everything".
std::optional<std::pair<QDate, QDate>> StoredDaySpan(sqlite3* db);

// Writes the bytes to the file at once, replacing it (a symbolic link is
// itself replaced), owner-only; the old file stays when anything fails. The
// message for the user, empty on success.
QString WriteExportBytes(const QString& path, const QByteArray& bytes);
