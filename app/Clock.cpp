#include "app/Clock.h"

namespace {
QDate g_fixedToday;
}

namespace Clock {
QDate today() { return g_fixedToday.isValid() ? g_fixedToday : QDate::currentDate(); }
QString todayDigits() { return today().toString(QStringLiteral("yyyyMMdd")); }
void setToday(const QDate &date) { g_fixedToday = date; }
}
