#pragma once
// Whether the language model can answer now, and the short-lived memory of that answer.
#include <QMutex>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace AIName {

enum class Availability { available, notEligible, notEnabled, notReady, unavailable, unsupportedOS };

// One process-wide answer with the time it was found, measured on a monotonic clock so that a
// clock set back or forward changes nothing. Safe from any thread; the question itself is asked
// outside the lock, so two readers that both find the answer stale may both ask.
class AvailabilityCache {
public:
    using Compute = std::function<Availability()>;
    using Clock = std::function<qint64()>;  // milliseconds, monotonic
    static constexpr qint64 maxAgeMs = 30000;

    explicit AvailabilityCache(Compute compute, Clock clock = {});

    // An answer at most 30 seconds old; asks afresh (blocking) when the stored one is older.
    Availability get();
    // The stored answer while it is younger than 30 seconds.
    std::optional<Availability> fresh() const;
    // The stored answer however old.
    std::optional<Availability> lastKnown() const;
    // The next read asks afresh (the server settings changed). An answer still being computed
    // for the old settings is not stored.
    void invalidate();
    void setCompute(Compute compute);

private:
    struct Entry {
        Availability value;
        qint64 stamp;
    };
    mutable QMutex m_lock;
    Compute m_compute;
    Clock m_clock;
    std::optional<Entry> m_entry;
    bool m_stale = false;
    quint64 m_generation = 0;
};

}  // namespace AIName
