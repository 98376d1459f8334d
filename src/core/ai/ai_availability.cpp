#include "ai_availability.h"

#include <QElapsedTimer>

namespace AIName {

namespace {
qint64 steadyMs()
{
    static const QElapsedTimer start = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return start.elapsed();
}
}  // namespace

AvailabilityCache::AvailabilityCache(Compute compute, Clock clock)
    : m_compute(std::move(compute)), m_clock(clock ? std::move(clock) : Clock(steadyMs))
{}

Availability AvailabilityCache::get()
{
    if (auto value = fresh())
        return *value;
    Compute compute;
    quint64 generation = 0;
    {
        QMutexLocker lock(&m_lock);
        compute = m_compute;
        generation = m_generation;
    }
    const Availability value = compute ? compute() : Availability::unavailable;
    QMutexLocker lock(&m_lock);
    if (generation == m_generation) {
        m_entry = Entry{value, m_clock()};
        m_stale = false;
    }
    return value;
}

std::optional<Availability> AvailabilityCache::fresh() const
{
    QMutexLocker lock(&m_lock);
    if (!m_entry || m_stale || m_clock() - m_entry->stamp >= maxAgeMs)
        return std::nullopt;
    return m_entry->value;
}

std::optional<Availability> AvailabilityCache::lastKnown() const
{
    QMutexLocker lock(&m_lock);
    if (!m_entry)
        return std::nullopt;
    return m_entry->value;
}

void AvailabilityCache::invalidate()
{
    QMutexLocker lock(&m_lock);
    m_stale = true;
    ++m_generation;
}

void AvailabilityCache::setCompute(Compute compute)
{
    QMutexLocker lock(&m_lock);
    m_compute = std::move(compute);
    m_stale = true;
    ++m_generation;
}

}  // namespace AIName
