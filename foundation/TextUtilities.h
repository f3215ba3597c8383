#pragma once
#include <QString>

// Small text helpers as the form's old platform had them.

// The platform's numeric-text test: spaces around ignored, plain digits and
// dotted decimals with an optional sign. Exponent forms are not taken: "19e5"
// would otherwise pass as a four-character year.
bool isNumeric(const QString &text);
// Plain digits only (no sign, no point) after trimming, within the lengths
// given (0: no limit).
bool isDigitString(const QString &text, int maxLen, int minLen, int exactLen);
// Trim as the form does it: ASCII spaces only, at both ends.
QString trimSpaces(const QString &text);
QString removeSpaces(const QString &text);
QString removeChar(const QString &text, const QString &ch);
// Straight double quotes become “ and ” in turn.
QString curlQuotes(const QString &text);
QString stripLineBreaks(const QString &text);
