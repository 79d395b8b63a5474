#pragma once
// Keeps the search index in step with the notes when they changed behind the
// notebook's back (another program, an old copy, a restored file): at start
// it compares every day's note with what the index recorded for it and
// re-indexes the days that differ, on a connection and a thread of its own,
// a few days per short write transaction so that saves never wait long.
// Until it is done the index is not trusted and searches read the notes.

#include "store/StoreStatus.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

struct sqlite3;

namespace qn {

// Brings the index on the connection in step with its notes: makes the
// index's tables when they are missing, then re-indexes every day whose
// recorded text differs from its note and forgets the days that have no
// note any more. stop ends it early (the result is then Failed). A damaged
// index is dropped and built again. mayWrite, when given, is asked before
// each write transaction; it may wait, and false ends the work (Failed).
StoreStatus BringSearchIndexInStep(sqlite3* db, const std::atomic<bool>& stop, bool rebuild = false,
                                   const std::function<bool()>& mayWrite = {});

class SearchKeeper {
public:
    enum class State { Idle, Working, InStep, Failed };

    explicit SearchKeeper(QString databasePath);
    ~SearchKeeper();
    SearchKeeper(const SearchKeeper&) = delete;
    SearchKeeper& operator=(const SearchKeeper&) = delete;

    // Starts (again) in the background; a run in progress is stopped first.
    // rebuild: the index is dropped and built anew.
    void Start(bool rebuild = false);
    // Stops a run in progress and waits for its end.
    void Stop();

    State state() const { return m_state.load(); }
    // Waits until no run is in progress, at most timeoutMs; true when none is.
    bool Wait(int timeoutMs);
    // Paused, a run starts no further write transaction until resumed.
    void SetPaused(bool paused);

private:
    void Run(bool rebuild);
    bool MayWrite();

    QString m_path;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<State> m_state{State::Idle};
    bool m_paused = false;  // under m_mutex
    std::mutex m_mutex;
    std::condition_variable m_settled;
    std::condition_variable m_resumed;
};

}  // namespace qn
