#include "layout/LineBreaking.h"
#include "layout/MeasuringSurface.h"
#include "foundation/TextUtilities.h"
#include "foundation/Twips.h"

#include <QVarLengthArray>
#include <QVector>

namespace {

// A line may not end with these (opening marks).
constexpr char16_t kNoLineEnd[] = u"“（《‘｛［￥$<＜({[【";
// A line may not begin with these (closing marks and stops).
constexpr char16_t kNoLineStart[] = u"，、！：；”）？．。’｝］％＞,!:;)?.}]%>》";
// The character-count breaker's own sets; the straight quote is in both.
constexpr char16_t kCountClosing[] = u"。，.、,”》)）\"；;:：？?!！>";
constexpr char16_t kCountOpening[] = u"（(“《<\"";

template<size_t N>
bool inSet(const char16_t (&set)[N], char32_t c)
{
    if (c > 0xFFFF)
        return false;
    for (size_t i = 0; i + 1 < N; ++i)
        if (set[i] == c)
            return true;
    return false;
}

bool isNoLineEnd(char32_t c) { return inSet(kNoLineEnd, c); }
bool isNoLineStart(char32_t c) { return inSet(kNoLineStart, c); }

QStringList listOf(const char16_t *chars)
{
    QStringList out;
    for (const char16_t *p = chars; *p; ++p)
        out << QString(QChar(*p));
    return out;
}

} // namespace

void loadBreakPunctuation(QStringList &noLineEndChars, QStringList &noLineStartChars)
{
    noLineEndChars = listOf(kNoLineEnd);
    noLineStartChars = listOf(kNoLineStart);
}

bool isInList(const QString &s, const QStringList &list, int count)
{
    const int n = qMin(count, int(list.size()));
    for (int i = 0; i < n; ++i)
        if (list.at(i) == s)
            return true;
    return false;
}

// Breaks by measured width. The growing line is measured incrementally from
// per-character advances, which sum in the same order as a full measurement
// of the line, so every comparison equals the one of measuring the line
// afresh for each character.
//
// A "character" is a code point: a surrogate pair is never split.
// Two cases need a rule of our own so that the loop always advances:
// - a character wider than the whole width (nothing fits on the line yet)
//   goes onto a line of its own;
// - a full line of closing marks only, followed by another closing mark,
//   is stored as it stands and the next mark begins the next line.
// A text of spaces only gives no lines, also when it is wider than a line.
int breakTextToLines(MeasuringSurface &ms, const QString &text, int width, QStringList &lines)
{
    lines.clear();
    // A blank text gives no lines, however wide its spaces.
    if (trimSpaces(text).isEmpty())
        return 0;

    QVector<double> adv;
    const int n = ms.advances(text, adv);

    // Code-point index -> UTF-16 offset, needed only when pairs occur.
    QVarLengthArray<int, 256> offsets;
    QVarLengthArray<char32_t, 256> chars;
    offsets.resize(n + 1);
    chars.resize(n);
    {
        const QChar *p = text.constData();
        int k = 0;
        for (int i = 0; i < text.size(); ++i, ++k) {
            offsets[k] = i;
            char32_t cp = p[i].unicode();
            if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && p[i + 1].isLowSurrogate()) {
                cp = QChar::surrogateToUcs4(p[i], p[i + 1]);
                ++i;
            }
            chars[k] = cp;
        }
        offsets[n] = text.size();
    }
    auto slice = [&](int from, int to) { return text.mid(offsets[from], offsets[to] - offsets[from]); };

    int start = 0;      // first character of the open line
    int i = 0;          // next character to read
    double w = 0;       // width of characters start .. i-1
    while (i < n) {
        const double trial = w + adv[i];
        if (roundHalfEven(trial) <= width) {
            w = trial;
            ++i;
            continue;
        }
        const int len = i - start;
        if (len == 0) {
            lines << slice(i, i + 1);
            start = ++i;
            w = 0;
            continue;
        }
        int tail = 0;
        while (tail < len && isNoLineEnd(chars[i - 1 - tail]))
            ++tail;
        if (tail == 0 && isNoLineStart(chars[i])) {
            int p = i - 1;
            while (p >= start && isNoLineStart(chars[p]))
                --p;
            if (p >= start) {
                int q = p - 1;
                while (q >= start && isNoLineEnd(chars[q]))
                    --q;
                tail = len - (q - start + 1);
            }
        }
        if (tail < len) {
            lines << slice(start, i - tail);
            i -= tail;
        } else {
            lines << slice(start, i);
        }
        start = i;
        w = 0;
    }
    const QString last = slice(start, n);
    if (!trimSpaces(last).isEmpty())
        lines << last;
    return lines.size();
}

WrappedLineCount countWrappedLines(const QString &text, int n)
{
    WrappedLineCount result;
    const int len = text.size();
    if (len <= n || n < 1)
        return result;
    int pos = 0;
    int count = 0;
    while (pos <= len) {
        const QStringView chunk = QStringView(text).mid(pos, qMin(n, len - pos));
        if (chunk.isEmpty())
            break;
        const int cr = chunk.indexOf(QLatin1Char('\r'));
        if (cr >= 0) {
            // The line ends at the break; skip the CR and the LF after it.
            ++count;
            pos += cr + 2;
            continue;
        }
        const char16_t last = chunk.back().unicode();
        const int after = pos + chunk.size();
        pos = after;
        if (after < len && inSet(kCountClosing, text.at(after).unicode())) {
            ++pos;
            ++count;
            ++result.pulled;
        } else if (inSet(kCountOpening, last) && chunk.size() > 1) {
            // A lone opening mark at the very end stays: moving it would
            // read the same character forever.
            --pos;
            ++count;
            ++result.pushed;
        } else {
            ++count;
        }
    }
    result.lines = count;
    return result;
}
