#pragma once
// Reading PDF output back with poppler's tools.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace PdfTest {

inline QString tool(const char *name) { return QStandardPaths::findExecutable(QLatin1String(name)); }

inline QString run(const char *program, const QStringList &args)
{
    QProcess p;
    p.start(tool(program), args);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline bool haveTools() { return !tool("pdfinfo").isEmpty() && !tool("pdftotext").isEmpty(); }

// "Pages" or "Page size" as pdfinfo reports them.
inline QString pdfInfo(const QString &file, const char *key)
{
    const auto m = QRegularExpression(QLatin1String(key) + QStringLiteral(":\\s+(.*)\n"))
                       .match(run("pdfinfo", {file}));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

// The page size within a point of w x h points.
inline bool pageSizeNear(const QString &file, double w, double h)
{
    const QStringList p = pdfInfo(file, "Page size").split(QLatin1Char(' '));
    return p.size() > 2 && qAbs(p[0].toDouble() - w) < 1 && qAbs(p[2].toDouble() - h) < 1;
}
constexpr double kB5Width = 515.906, kB5Height = 728.504;   // 182 x 257 mm in points

struct Word { double x, y; QString text; };

// The words of one page with their corners in points from the sheet's corner.
inline QList<Word> pdfWords(const QString &file, int page)
{
    const QString html = run("pdftotext", {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                           QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    QList<Word> words;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

} // namespace PdfTest
