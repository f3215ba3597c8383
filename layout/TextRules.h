#pragma once
#include <QString>

// Date texts, ages, party-membership text and small text helpers.
// Digit checks return "" for valid and "error" for invalid.

// The platform's numeric-text test: spaces around ignored, plain digits and
// dotted decimals with an optional sign. Exponent forms are not taken: "19e5"
// would otherwise pass as a four-character year.
bool isNumeric(const QString &text);

bool isDigitString(const QString &text, int maxLen, int minLen, int exactLen);
QString checkMonth(const QString &mm);
QString checkDay(const QString &yyyy, const QString &mm, const QString &dd);
QString checkDateDigits(const QString &digits);
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
QString removeSpaces(const QString &text);
QString removeChar(const QString &text, const QString &ch);
QString curlQuotes(const QString &text);
QString stripLineBreaks(const QString &text);
// Trim as the form does it: ASCII spaces only, at both ends.
QString trimSpaces(const QString &text);
