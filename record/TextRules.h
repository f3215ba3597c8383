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
