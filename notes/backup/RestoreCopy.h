#pragma once
// Putting a backup copy back: the current notes are copied first, then the
// copy replaces them in the open database and the search index is brought
// in step again. Also the offer of the newest sound copy when the notes file
// is damaged: at start, or when the check of every page finds the damage
// after the window is up.

#include <QString>

#include <functional>

class QWidget;
class TDM;

// Restores the copy into the open notebook. An error text for the user,
// empty on success; on an error the notes are as they were. Only a file
// that has passed its check and takes writes is replaced, and only while
// no notes wait in memory for the store.
QString RestoreCopy(TDM& dm, const QString& copyPath);

// Asks the user a question; true for yes. Tests replace it.
using AskUser = std::function<bool(const QString& text, QWidget* parent)>;
bool AskWithMessageBox(const QString& text, QWidget* parent);

enum class SoundCopyOffer {
    NotDamaged,   // locked, unreadable for the user, or sound: no copy offered
    NoSoundCopy,  // damaged, and no copy passes the integrity check
    Declined,
    Failed,    // the copy could not take the file's place; the damaged file is where it was
    Restored,  // the damaged file is aside, the copy in its place, open for reading
};

// For a damaged notes file: the offer of the newest copy that passes the
// integrity check. On yes the damaged file (with its log) is set aside
// under a new name, unchanged, the copy takes its place and the data module
// opens it for reading. knownDamaged: the caller's own check found the
// damage (it is not looked for again). why: the first line of the question.
// error receives the reason of a failure.
SoundCopyOffer OfferSoundCopy(TDM& dm, QWidget* parent, const AskUser& ask, bool knownDamaged, const QString& why,
                              QString* error);

// After opening failed at start (without telling the user): the offer
// above, or the usual load-failure message. True when the notebook is open
// afterwards.
bool OfferRestoreAtStart(TDM& dm, QWidget* parent = nullptr, const AskUser& ask = AskWithMessageBox);
