#include "store/NoteSearch.h"

namespace qn {

NoteSearch::NoteSearch(QString databasePath) : m_keeper(std::move(databasePath)) { }

NoteSearch::~NoteSearch() { Detach(); }

void NoteSearch::Attach(sqlite3* db, bool keepIndex)
{
    Detach();
    m_db = db;
    m_keepIndex = keepIndex && db;
    if (m_keepIndex) {
        m_index = std::make_unique<SearchIndex>(db);
        KeepInStep();
    }
}

void NoteSearch::Detach()
{
    m_keeper.Stop();
    m_index.reset();
    m_db = nullptr;
    m_keepIndex = false;
    m_failed = false;
}

void NoteSearch::DayWritten(const DayNote& note)
{
    if (!m_index)
        return;
    const std::optional<int> day = DayNumberOfKey(note.key);
    if (!day)
        return;
    const QByteArray utf8 = note.plain.toUtf8();
    if (m_index->Put(*day, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()))) != StoreStatus::Ok)
        m_failed = true;
}

StoreResult<SearchPage> NoteSearch::Find(const QString& text, int limit, int beforeDay)
{
    if (!m_db)
        return {{}, StoreStatus::Failed};
    if (IndexInStep()) {
        StoreResult<SearchPage> found = m_index->Query(text, limit, beforeDay);
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
    if (!m_keepIndex)
        return;
    m_failed = false;
    m_keeper.Start();
}

void NoteSearch::StopKeeping() { m_keeper.Stop(); }

bool NoteSearch::IndexInStep() const { return m_index && !m_failed && m_keeper.state() == SearchKeeper::State::InStep; }

bool NoteSearch::WaitForKeeper(int timeoutMs) { return m_keeper.Wait(timeoutMs); }

void NoteSearch::SetSavesWaiting(bool waiting) { m_keeper.SetPaused(waiting); }

}  // namespace qn
