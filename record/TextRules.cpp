#include "record/TextRules.h"
#include "foundation/Clock.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kPeriodWords = QStringLiteral("春夏秋冬初中底");
const int kPeriodMonths[] = {4, 7, 10, 12, 3, 6, 12};

// Leading number of a text, as the form's "value of" conversion reads it:
// spaces skipped, optional sign, digits with an optional fraction; 0 when
// nothing numeric leads.
double leadingValue(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^ *([+-]?[0-9]*\\.?[0-9]*)"));
    const QString m = re.match(text).captured(1);
    bool ok = false;
    const double v = m.toDouble(&ok);
    return ok ? v : 0.0;
}

QString numberText(double v)
{
    return QString::number(v, 'g', 15);
}

} // namespace

bool isValidMonth(const QString &mm)
{
    bool ok = false;
    const int m = trimSpaces(mm).toInt(&ok);
    return ok && m >= 1 && m <= 12;
}

bool isValidDay(const QString &yyyy, const QString &mm, const QString &dd)
{
    bool okY = false, okM = false, okD = false;
    const int y = trimSpaces(yyyy).toInt(&okY);
    const int m = trimSpaces(mm).toInt(&okM);
    const int d = trimSpaces(dd).toInt(&okD);
    if (!okY || !okM || !okD || m < 1 || m > 12)
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int last = days[m - 1];
    // Every fourth year: right for 1901 to 2099, the years this form's
    // dates fall in. 1900-02-29 passes as it always has, so that no stored
    // document starts failing its check.
    if (m == 2 && y % 4 == 0)
        last = 29;
    return d >= 1 && d <= last;
}

bool isValidDateDigits(const QString &d)
{
    switch (d.size()) {
    case 0:
    case 4:
        return true;
    case 6:
        return isValidMonth(d.right(2));
    case 8:
        return isValidMonth(d.mid(4, 2)) && isValidDay(d.left(4), d.mid(4, 2), d.right(2));
    default:
        return false;
    }
}

bool isPeriodDate(const QString &text)
{
    return text.size() == 5 && isDigitString(text.left(4), 0, 4, 0) && kPeriodWords.contains(text.at(4));
}

bool isValidDateText(QString &text)
{
    text = trimSpaces(text);
    if (text.isEmpty())
        return true;
    if (isNumeric(text))
        return isValidDateDigits(text);
    return isPeriodDate(text);
}

int periodMonth(QChar word)
{
    const int i = kPeriodWords.indexOf(word);
    return i < 0 ? 1 : kPeriodMonths[i];
}

bool isPeriodMonthAfter(const QString &refDate, const QString &periodWord)
{
    if (refDate.size() < 5 || periodWord.isEmpty())
        return false;
    return periodMonth(periodWord.at(0)) > leadingValue(refDate.mid(4, 2));
}

QString ageAt(const QString &refDate, QString &birth)
{
    birth = trimSpaces(birth);
    const double refYear = leadingValue(refDate.left(4));
    const double refMonth = refDate.size() > 4 ? leadingValue(refDate.mid(4, 2)) : 0.0;
    const int len = birth.size();
    if (len < 4 || len > 8)
        return QString();
    if (isNumeric(birth)) {
        if (len == 4)
            return numberText(refYear - birth.toDouble());
        if (len == 6 || len == 8) {
            const double by = leadingValue(birth.left(4));
            const double bm = leadingValue(birth.mid(4, 2));
            return numberText(refMonth >= bm ? refYear - by : refYear - by - 1);
        }
        return QString();
    }
    if (isNumeric(birth.left(4))) {
        double age = refYear - birth.left(4).toDouble();
        if (isPeriodMonthAfter(refDate, birth.mid(4, 1)))
            age -= 1;
        return numberText(age);
    }
    return QString();
}

QString ageAt(const QString &refDate, const QString &birth)
{
    QString b = birth;
    return ageAt(refDate, b);
}

QString dotDate(QString &text)
{
    text = trimSpaces(text);
    if (text.size() > 4)
        return text.left(4) + QLatin1Char('.') + text.mid(4, 2);
    return text;
}

QString dotDate(const QString &text)
{
    QString t = text;
    return dotDate(t);
}

QString splitPartyText(const QString &text, QString &party1, QString &party2, QString &party3)
{
    party1.clear();
    party2.clear();
    party3.clear();
    const QString s = removeChar(removeSpaces(text), QStringLiteral("."));
    const QString communistParty = QStringLiteral("中共");
    if (isNumeric(s)) {
        party1 = communistParty;
        return dotDate(s);
    }
    const QString semi = QStringLiteral("；");
    if (s.contains(semi)) {
        QStringList parts = s.split(semi);
        while (parts.size() < 3)
            parts << QString();
        const QString p0 = parts.at(0), p1 = parts.at(1), p2 = parts.at(2);
        auto isDate = [](const QString &p) {
            QString t = trimSpaces(p);
            return !t.isEmpty() && isValidDateText(t);
        };
        if (isDate(p0)) {
            party1 = communistParty; party2 = p1; party3 = p2;
            return dotDate(p0);
        }
        if (isDate(p1)) {
            party1 = p0; party2 = communistParty; party3 = p2;
            return dotDate(p1);
        }
        if (isDate(p2)) {
            party1 = p0; party2 = p1; party3 = communistParty;
            return dotDate(p2);
        }
        party1 = p0; party2 = p1; party3 = p2;
        return QString();
    }
    QString t = s;
    if (isValidDateText(t)) {
        party1 = communistParty;
        return s;
    }
    party1 = s;
    return QString();
}

QString normalisedDateText(const QString &text)
{
    QString t = stripLineBreaks(removeSpaces(text));
    QString folded = t;
    // What a Chinese input method types in full-width mode.
    for (QChar &c : folded) {
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == QChar(0xFF0E) || c == QChar(0x3002))
            c = QLatin1Char('.');
        else if (c == QChar(0xFF0D))
            c = QLatin1Char('-');
        else if (c == QChar(0xFF0F))
            c = QLatin1Char('/');
        else if (c == QChar(0x3000))
            c = QLatin1Char(' ');
    }
    folded.remove(QLatin1Char(' '));
    static const QRegularExpression separated(
        QStringLiteral("^([0-9]{4})([./-])([0-9]{1,2})(?:\\2([0-9]{1,2}))?$"));
    static const QRegularExpression written(
        QStringLiteral("^([0-9]{4})年(?:([0-9]{1,2})月(?:([0-9]{1,2})[日号])?)?$"));
    static const QRegularExpression period(QStringLiteral("^([0-9]{4})年?([春夏秋冬初中底])$"));
    auto twoDigits = [](const QString &n) { return n.size() == 1 ? QString(QLatin1Char('0') + n) : n; };
    if (const auto m = separated.match(folded); m.hasMatch())
        return m.captured(1) + twoDigits(m.captured(3)) + twoDigits(m.captured(4));
    if (const auto m = written.match(folded); m.hasMatch())
        return m.captured(1) + twoDigits(m.captured(2)) + twoDigits(m.captured(3));
    if (const auto m = period.match(folded); m.hasMatch())
        return m.captured(1) + m.captured(2);
    if (isDigitString(folded, 0, 0, 0))
        return folded;
    return t;
}

bool isAfterDay(const QString &date, const QString &today)
{
    const QString d = trimSpaces(date);
    if (d.size() == 8 && isDigitString(d, 0, 0, 8) && isDigitString(today, 0, 0, 8))
        return d > today;
    return leadingValue(ageAt(today, d)) < 0;
}

bool isValidPartyText(const QString &text)
{
    const QString today = Clock::todayDigits();
    if (text.isEmpty())
        return true;
    const QStringList parts = text.split(QStringLiteral("；"));
    const int n = parts.size();
    if (n >= 5)
        return false;
    // A trailing "；" after three entries leaves a blank fourth part; the
    // entries before it are still checked like any three-part text.
    if (n == 4 && !trimSpaces(parts.at(3)).isEmpty())
        return false;
    QString p0 = trimSpaces(parts.at(0));
    if (isNumeric(p0.left(4))) {
        if (!p0.isEmpty() && !isValidDateText(p0))
            return false;
        if (isAfterDay(p0, today))
            return false;
    }
    for (int i = 1; i < qMin(n, 3); ++i) {
        QString p = parts.at(i);
        if (!trimSpaces(p).isEmpty() && isValidDateText(p))
            return false;
    }
    return true;
}

