#include "foundation/Clock.h"

#include <atomic>
#include <limits>

namespace {
// The pinned date as a Julian day, or none. Set before any work starts (the
// command line's --today, a test's set-up) and read from every thread that
// lays a document out, so it is kept where a read never races a write.
constexpr qint64 kNotPinned = std::numeric_limits<qint64>::min();
std::atomic<qint64> g_fixedDay{kNotPinned};
}

namespace Clock {
QDate today()
{
    const qint64 day = g_fixedDay.load(std::memory_order_relaxed);
    return day == kNotPinned ? QDate::currentDate() : QDate::fromJulianDay(day);
}
QString todayDigits() { return today().toString(QStringLiteral("yyyyMMdd")); }
void setToday(const QDate &date)
{
    g_fixedDay.store(date.isValid() ? date.toJulianDay() : kNotPinned, std::memory_order_relaxed);
}
}
