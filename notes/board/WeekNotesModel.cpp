#include "notes/board/WeekNotesModel.h"

#include "store/NoteStore.h"
#include "store/uDM.h"

#include <QTimer>

namespace qn {
namespace {

// A lock met once is not waited for again on every keystroke: the retries
// only look whether it is gone, so typing stays quick while it is held.
class NoWaitForALockMetBefore {
public:
    NoWaitForALockMetBefore(TDM& dm, bool lockMet) : m_dm(dm), m_previous(dm.BusyTimeout())
    {
        if (lockMet)
            m_dm.SetBusyTimeout(0);
    }
    ~NoWaitForALockMetBefore() { m_dm.SetBusyTimeout(m_previous); }
    NoWaitForALockMetBefore(const NoWaitForALockMetBefore&) = delete;
    NoWaitForALockMetBefore& operator=(const NoWaitForALockMetBefore&) = delete;

private:
    TDM& m_dm;
    int m_previous;
};

}  // namespace

WeekNotesModel::WeekNotesModel(TDM& dm, QObject* parent) : QObject(parent), m_dm(dm)
{
    auto timer = [this](auto onTimeout) {
        auto* t = new QTimer(this);
        t->setSingleShot(true);
        connect(t, &QTimer::timeout, this, onTimeout);
        return t;
    };
    m_retryTimer = timer([this] { Retry(); });
    m_heldSignTimer = timer([this] {
        m_waitedLong = true;
        UpdateSign();
    });
    m_pauseCheckpoint = timer([this] { m_dm.Checkpoint(); });
    m_soonCheckpoint = timer([this] { m_dm.Checkpoint(); });
    m_soonCheckpoint->setInterval(0);
    SetTiming(m_timing);
}

void WeekNotesModel::SetTiming(const WeekNotesTiming& timing)
{
    m_timing = timing;
    // A running timer starts again with its new pause.
    const std::pair<QTimer*, int> timers[] = {{m_retryTimer, timing.retryMs},
                                              {m_heldSignTimer, timing.heldSignDelayMs},
                                              {m_pauseCheckpoint, timing.checkpointPauseMs}};
    for (const auto& [t, ms] : timers) {
        t->setInterval(ms);
        if (t->isActive())
            t->start();
    }
}

bool WeekNotesModel::IsKnown(int box) const
{
    return box >= 0 && box < kBoxes && m_boxes[static_cast<size_t>(box)].state == BoxState::Known;
}

bool WeekNotesModel::AnyUnknown() const
{
    for (const Box& b : m_boxes)
        if (b.state == BoxState::Unknown)
            return true;
    return false;
}

void WeekNotesModel::LoadWeek(const WeekKeys& keys)
{
    m_keys = keys;
    m_boxes.fill(Box{});
    ReadBoxes({0, 1, 2, 3, 4, 5});
    UpdateRetry();
}

void WeekNotesModel::ReadBoxes(const std::vector<int>& boxes)
{
    // A held note is newer than the stored one.
    std::vector<int> toRead;
    for (const int b : boxes) {
        const auto held = m_held.find(m_keys[static_cast<size_t>(b)]);
        if (held == m_held.end()) {
            toRead.push_back(b);
            continue;
        }
        m_boxes[static_cast<size_t>(b)] = {BoxState::Known, true};
        emit boxLoaded(b, held->second);
    }
    if (toRead.empty())
        return;
    std::vector<std::string> keys;
    for (const int b : toRead)
        keys.push_back(m_keys[static_cast<size_t>(b)]);
    const StoreResult<std::vector<std::optional<DayNote>>> found = m_dm.Notes().FindDays(keys);
    for (size_t i = 0; i < toRead.size(); ++i) {
        Box& box = m_boxes[static_cast<size_t>(toRead[i])];
        if (i < found.value.size()) {
            const std::optional<DayNote>& note = found.value[i];
            // A row without content has never held this box's text: write it.
            box = {BoxState::Known, note && !note->rtf.isEmpty()};
            emit boxLoaded(toRead[i], note);
        } else if (box.state != BoxState::Unknown) {
            box = {BoxState::Unknown, false};
            emit boxUnknown(toRead[i]);
        }
    }
}

bool WeekNotesModel::NeedsWrite(int box, bool changed) const
{
    if (!IsKnown(box))
        return false;
    return changed || !m_boxes[static_cast<size_t>(box)].accounted;
}

void WeekNotesModel::Save(std::vector<BoxNote> notes)
{
    for (BoxNote& n : notes) {
        if (!IsKnown(n.box) || n.note.key != m_keys[static_cast<size_t>(n.box)])
            continue;
        m_boxes[static_cast<size_t>(n.box)].accounted = true;
        std::string key = n.note.key;
        m_held[std::move(key)] = std::move(n.note);
    }
    Flush();
}

void WeekNotesModel::Flush()
{
    if (EnsureWritable()) {
        if (m_held.empty())
            m_failure.reset();
        else
            WriteHeld();
    }
    if (m_held.empty()) {
        m_heldSignTimer->stop();
        m_waitedLong = false;
    }
    m_dm.SetSavesHeld(!m_held.empty());
    UpdateSign();
    UpdateRetry();
}

bool WeekNotesModel::EnsureWritable()
{
    if (m_dm.AcceptsWrites())
        return true;
    if (!m_writesAllowed) {
        // The file is still being checked: held saves wait, and say so if it takes long.
        if (!m_held.empty() && !m_waitedLong && !m_heldSignTimer->isActive())
            m_heldSignTimer->start();
        return false;
    }
    const StoreStatus opened = m_dm.OpenForWriting();
    if (opened != StoreStatus::Ok) {
        m_failure = opened;
        return false;
    }
    m_failure.reset();
    return true;
}

void WeekNotesModel::WriteHeld()
{
    std::vector<DayNote> notes;
    notes.reserve(m_held.size());
    for (const auto& [key, note] : m_held)
        notes.push_back(note);
    StoreResult<std::vector<bool>> written;
    {
        NoWaitForALockMetBefore noWait(m_dm, m_failure == StoreStatus::Busy);
        written = m_dm.Notes().WriteDays(notes);
    }
    bool any = false;
    for (size_t i = 0; i < notes.size(); ++i) {
        if (written.value[i]) {
            m_held.erase(notes[i].key);
            any = true;
        }
    }
    if (any)
        ScheduleCheckpoint();
    if (m_held.empty())
        m_failure.reset();
    else
        m_failure = written.ok() ? StoreStatus::Failed : written.status;
}

void WeekNotesModel::ScheduleCheckpoint()
{
    m_pauseCheckpoint->start();
    // Without a pause the log would only grow: copy it as soon as this
    // keystroke has been handled.
    if (m_dm.LogBytes() >= m_dm.CheckpointSoonBytes())
        m_soonCheckpoint->start();
}

void WeekNotesModel::WholeFileChecked()
{
    m_writesAllowed = true;
    Flush();
}

void WeekNotesModel::Retry()
{
    if (AnyUnknown()) {
        std::vector<int> unknown;
        for (int b = 0; b < kBoxes; ++b)
            if (m_boxes[static_cast<size_t>(b)].state == BoxState::Unknown)
                unknown.push_back(b);
        ReadBoxes(unknown);
    }
    Flush();
}

void WeekNotesModel::UpdateRetry()
{
    const bool writeFailed = m_failure.has_value() && (!m_held.empty() || !m_dm.AcceptsWrites());
    if (AnyUnknown() || writeFailed) {
        if (!m_retryTimer->isActive())
            m_retryTimer->start();
    } else {
        m_retryTimer->stop();
    }
}

QString WeekNotesModel::UnsavedReason() const
{
    if (m_failure)
        return StatusText(*m_failure);
    return QStringLiteral("正在检查笔记文件…");
}

void WeekNotesModel::DiscardUnsaved()
{
    m_held.clear();
    Flush();
}

void WeekNotesModel::UpdateSign()
{
    QString sign;
    if (!m_held.empty() && (m_failure || m_waitedLong))
        sign = QStringLiteral("未保存：") + UnsavedReason();
    if (sign == m_sign)
        return;
    m_sign = sign;
    emit signChanged(m_sign);
}

}  // namespace qn
