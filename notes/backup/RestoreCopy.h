#pragma once
// Putting a backup copy back: the current notes are copied first, then the
// copy replaces them in the open database and the search index is brought
// in step again. Also the offer at start when the notes database cannot be
// opened because it is damaged.

#include <QString>

#include <functional>

class QWidget;
class TDM;

// Restores the copy into the open notebook. An error text for the user,
// empty on success; on an error the notes are as they were.
QString RestoreCopy(TDM& dm, const QString& copyPath);

// Asks the user a question; true for yes. Tests replace it.
using AskUser = std::function<bool(const QString& text, QWidget* parent)>;
bool AskWithMessageBox(const QString& text, QWidget* parent);

// After ConnectDatabase failed (without telling the user): when the file is
// damaged and a copy passes the integrity check, offers the newest such
// copy; on yes the damaged file is set aside under a new name, unchanged,
// the copy takes its place and the database is opened again. Otherwise the
// usual load-failure message. True when the notebook is open afterwards.
bool OfferRestoreAtStart(TDM& dm, QWidget* parent = nullptr, const AskUser& ask = AskWithMessageBox);
