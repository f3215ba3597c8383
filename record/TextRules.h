#pragma once
#include "foundation/TextUtilities.h"
#include <QString>

// The form's rules for date texts, ages and party-membership text.

bool isValidMonth(const QString &mm);
bool isValidDay(const QString &yyyy, const QString &mm, const QString &dd);
// "", "yyyy", "yyyymm" or "yyyymmdd" naming a real month and day.
bool isValidDateDigits(const QString &digits);
bool isPeriodDate(const QString &text);
bool isValidDateText(QString &text);               // trims `text` in place
int periodMonth(QChar word);                       // 1 for any non-period word
bool isPeriodMonthAfter(const QString &refDate, const QString &periodWord);
QString ageAt(const QString &refDate, QString &birth);   // trims `birth` in place
QString ageAt(const QString &refDate, const QString &birth);
QString dotDate(QString &text);                    // trims `text` in place
QString dotDate(const QString &text);
QString splitPartyText(const QString &text, QString &party1, QString &party2, QString &party3);
bool isValidPartyText(const QString &text);        // compares against Clock::today()

// A date as the clerk may type it, the way the printed form shows dates
// ("1970.03", "1970-3-15", "1970/03", "1970年3月15日", "1985年春", full-width
// digits), in the stored digit form ("197003", "19700315", "1985春"); spaces
// and line breaks removed. Any other text comes back without its spaces and
// line breaks only.
QString normalisedDateText(const QString &text);
// Whether a date text lies after `today` ("yyyymmdd"): a full date by the
// day, a year, month or period word as the age counts it.
bool isAfterDay(const QString &date, const QString &today);
