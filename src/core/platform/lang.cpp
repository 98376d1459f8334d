#include "lang.h"

#include <atomic>

namespace {
std::atomic<bool> g_zh{false};
}  // namespace

bool Lang::zh()
{
    return g_zh.load(std::memory_order_relaxed);
}
void Lang::setZh(bool zh)
{
    g_zh.store(zh, std::memory_order_relaxed);
}

QLocale Lang::locale()
{
    const QLocale system;
    if (system.language() == (zh() ? QLocale::Chinese : QLocale::English))
        return system;
    return zh() ? QLocale(QLocale::Chinese, QLocale::China) : QLocale(QLocale::English, QLocale::UnitedStates);
}
