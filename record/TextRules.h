#pragma once
#include <QString>

// Date texts, ages, party-membership text and small text helpers.
// Digit checks return "" for valid and "error" for invalid.

// The platform's numeric-text test: spaces around ignored, plain digits and
// dotted decimals with an optional sign. Exponent forms are not taken: "19e5"
// would otherwise pass as a four-character year.
bool IsNumeric(const QString &text);

bool IsDigitString(const QString &text, int maxLen, int minLen, int exactLen);
QString CheckMonth(const QString &mm);
QString CheckDay(const QString &yyyy, const QString &mm, const QString &dd);
QString CheckDateDigits(const QString &digits);
bool IsPeriodDate(const QString &text);
bool IsValidDateText(QString &text);               // trims `text` in place
int PeriodMonth(QChar word);                       // 1 for any non-period word
bool PeriodMonthAfter(const QString &refDate, const QString &periodWord);
QString AgeAt(const QString &refDate, QString &birth);   // trims `birth` in place
QString AgeAt(const QString &refDate, const QString &birth);
QString DotDate(QString &text);                    // trims `text` in place
QString DotDate(const QString &text);
QString SplitPartyText(const QString &text, QString &party1, QString &party2, QString &party3);
bool IsValidPartyText(const QString &text);        // compares against Clock::today()
QString RemoveSpaces(const QString &text);
QString RemoveChar(const QString &text, const QString &ch);
QString CurlQuotes(const QString &text);
QString StripLineBreaks(const QString &text);
// Trim as the form does it: ASCII spaces only, at both ends.
QString TrimSpaces(const QString &text);
