#pragma once
#include <QDate>
#include <QString>

// The one place the program asks for today's date, so tests and the
// command line can pin it.
namespace Clock {
QDate today();
QString todayDigits();                    // "yyyymmdd"
void setToday(const QDate &date);         // an invalid date returns to the system clock
}
