#include "foundation/TextUtilities.h"

#include <QRegularExpression>

bool isNumeric(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^ *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+) *$"));
    return re.match(text).hasMatch();
}

QString trimSpaces(const QString &text)
{
    int b = 0, e = text.size();
    while (b < e && text.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && text.at(e - 1) == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b);
}

bool isDigitString(const QString &text, int maxLen, int minLen, int exactLen)
{
    const QString t = trimSpaces(text);
    if (!isNumeric(t))
        return false;
    if (t.contains(QLatin1Char('+')) || t.contains(QLatin1Char('-')) || t.contains(QLatin1Char('.')))
        return false;
    if (maxLen > 0 && t.size() > maxLen)
        return false;
    if (minLen > 0 && t.size() < minLen)
        return false;
    if (exactLen > 0 && t.size() != exactLen)
        return false;
    return true;
}

QString removeSpaces(const QString &text)
{
    return removeChar(text, QStringLiteral(" "));
}

QString removeChar(const QString &text, const QString &ch)
{
    if (ch.isEmpty())
        return text;
    QString t = text;
    t.remove(ch);
    return t;
}

QString curlQuotes(const QString &text)
{
    QString t = text;
    bool open = true;
    for (QChar &c : t) {
        if (c == QLatin1Char('"')) {
            c = open ? QChar(0x201C) : QChar(0x201D);
            open = !open;
        }
    }
    return t;
}

QString stripLineBreaks(const QString &text)
{
    QString t = text;
    t.remove(QLatin1Char('\r'));
    t.remove(QLatin1Char('\n'));
    return t;
}
