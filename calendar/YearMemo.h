#pragma once
// A per-year memo for values that depend only on the year. A slot is filled
// on first use and read afterwards. Filling never blocks: a thread that finds
// a slot being filled by another thread simply computes the value itself, so
// the memo is safe to share and can never change a result.

#include <array>
#include <atomic>
#include <cstdint>

template <class Value, int FirstYear, int LastYear>
class YearMemo {
public:
    constexpr YearMemo() = default;

    template <class Compute>
    Value Get(int year, Compute&& compute)
    {
        if (year < FirstYear || year > LastYear)
            return compute(year);
        Slot& slot = slots_[static_cast<std::size_t>(year - FirstYear)];
        std::uint8_t state = slot.state.load(std::memory_order_acquire);
        if (state == kReady)
            return slot.value;
        if (state == kEmpty && slot.state.compare_exchange_strong(state, kFilling, std::memory_order_acq_rel)) {
            slot.value = compute(year);
            slot.state.store(kReady, std::memory_order_release);
            return slot.value;
        }
        return compute(year);
    }

private:
    static constexpr std::uint8_t kEmpty = 0;
    static constexpr std::uint8_t kFilling = 1;
    static constexpr std::uint8_t kReady = 2;

    struct Slot {
        std::atomic<std::uint8_t> state{kEmpty};
        Value value{};
    };
    std::array<Slot, static_cast<std::size_t>(LastYear - FirstYear + 1)> slots_{};
};
