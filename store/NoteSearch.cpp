#include "store/NoteSearch.h"

namespace qn {

NoteSearch::NoteSearch(sqlite3* db, const QString& databasePath) : m_db(db), m_index(db), m_keeper(databasePath) { }

NoteSearch::~NoteSearch() { m_keeper.Stop(); }

void NoteSearch::DayWritten(const DayNote& note)
{
    const std::optional<int> day = DayNumberOfKey(note.key);
    if (!day)
        return;
    const QByteArray utf8 = note.plain.toUtf8();
    if (m_index.Put(*day, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()))) != StoreStatus::Ok)
        m_failed = true;
}

StoreResult<SearchPage> NoteSearch::Find(const QString& text, int limit, int beforeDay)
{
    if (IndexInStep()) {
        StoreResult<SearchPage> found = m_index.Query(text, limit, beforeDay);
        if (found.ok())
            return found;
        // A damaged index is built again; until then the notes are read.
        m_failed = true;
        if (found.status == StoreStatus::Corrupt)
            m_keeper.Start(true);
    }
    return ScanNotes(m_db, text, limit, beforeDay);
}

void NoteSearch::KeepInStep()
{
    m_failed = false;
    m_keeper.Start();
}

void NoteSearch::StopKeeping() { m_keeper.Stop(); }

bool NoteSearch::IndexInStep() const { return !m_failed && m_keeper.state() == SearchKeeper::State::InStep; }

bool NoteSearch::WaitForKeeper(int timeoutMs) { return m_keeper.Wait(timeoutMs); }

}  // namespace qn
