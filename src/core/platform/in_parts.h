#pragma once
// Work over a long run of rows shared out among the threads of the shared pool.
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <utility>
#include <vector>

// Runs `work(begin, end)` over [0, n) in parts on the shared thread pool, the calling thread
// taking part; a short range runs here at once. Each part must touch only its own rows.
template <typename Work> void inParts(qsizetype n, Work&& work)
{
    constexpr qsizetype kPart = 4096;
    if (n <= kPart) {
        work(qsizetype(0), n);
        return;
    }
    std::vector<std::pair<qsizetype, qsizetype>> parts;
    for (qsizetype begin = 0; begin < n; begin += kPart)
        parts.emplace_back(begin, std::min(n, begin + kPart));
    QtConcurrent::blockingMap(parts, [&work](std::pair<qsizetype, qsizetype>& p) { work(p.first, p.second); });
}
