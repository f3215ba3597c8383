#include "app/ScriptedInteraction.h"
#include "layout/MeasuringSurface.h"
#include "layout/PainterSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/Twips.h"

#include <QFontDatabase>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    QString text;
    double x, y;
    QString font;
    double size;
};

// Page of 6 x 4 inches.
constexpr double kPageW = 6 * 1440;
constexpr double kPageH = 4 * 1440;

QList<Run> sampleRuns()
{
    return {
        {QStringLiteral("干部任免审批表"), 1440, 720, QStringLiteral("宋体"), 12},
        {QStringLiteral("张三丰，男，汉族（江苏）"), 1000.5, 1500, QStringLiteral("楷体"), 10.5},
        {QStringLiteral("ABC123中文（括号）"), 1500, 2300, QStringLiteral("宋体"), 9},
        {QStringLiteral("1960.05"), 4000, 3100, QStringLiteral("楷体"), 8},
        {QStringLiteral("中华人民共和国"), 2222, 4400, QStringLiteral("楷体"), 20},
    };
}

void drawRuns(DrawingSurface &surface)
{
    for (const Run &r : sampleRuns()) {
        surface.setFontName(r.font);
        surface.setFontSize(r.size);
        surface.CurrentX = r.x;
        surface.CurrentY = r.y;
        surface.Print(r.text);
    }
}

QImage renderImage(double dpi)
{
    QImage image(qRound(kPageW * dpi / 1440), qRound(kPageH * dpi / 1440), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterSurface surface(&painter, dpi);
    drawRuns(surface);
    return image;
}

// Ink rectangle, in twips, of the dark pixels in the band of one run.
QRectF inkBox(const QImage &image, double dpi, const Run &r)
{
    const double s = dpi / 1440;
    const double lh = MeasuringSurface::instance().lineHeight(r.font, r.size);
    const int top = qMax(0, int((r.y - 40) * s));
    const int bottom = qMin(image.height() - 1, int((r.y + lh + 40) * s));
    int minX = image.width(), maxX = -1, minY = image.height(), maxY = -1;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 224) {
                minX = qMin(minX, x);
                maxX = qMax(maxX, x + 1);
                minY = qMin(minY, y);
                maxY = qMax(maxY, y + 1);
            }
    if (maxX < 0)
        return {};
    return QRectF(QPointF(minX / s, minY / s), QPointF(maxX / s, maxY / s));
}

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestSurfaces : public QObject {
    Q_OBJECT
private slots:
    void referenceMetrics_data();
    void referenceMetrics();
    void emptyStringHasNoWidth();
    void widthIsSumOfAdvances();
    void scaleModes();
    void typefaceResolution();
    void printAdvancesByOneLine();
    void displayListFormat();
    void messagesRecordedAndForwarded();
    void sameTwipPositionsAtEveryResolution();
    void pdfHasRealTextWithEmbeddedFonts();
    void linesAndPictures();
};

void TestSurfaces::referenceMetrics_data()
{
    QTest::addColumn<QString>("font");
    QTest::newRow("宋体") << QStringLiteral("宋体");
    QTest::newRow("楷体") << QStringLiteral("楷体");
}

void TestSurfaces::referenceMetrics()
{
    QFETCH(QString, font);
    MeasuringSurface &ms = MeasuringSurface::instance();
    ms.picPrameterSetup(font, 12, false, 1);
    QCOMPARE(roundHalfEven(ms.getWidth(QStringLiteral("人"))), 240);
    QCOMPARE(roundHalfEven(ms.getWidth(QStringLiteral("A"))), 120);
    QCOMPARE(roundHalfEven(ms.getHeight(QStringLiteral("人"))), 240);
    QCOMPARE(roundHalfEven(ms.getHeight(QStringLiteral("高"))), 240);
    QCOMPARE(roundHalfEven(ms.lineHeight(font, 12)), 240);
    ms.picPrameterSetup(font, 10.5, false, 1);
    QCOMPARE(roundHalfEven(ms.getHeight(QStringLiteral("人"))), 210);
    QCOMPARE(roundHalfEven(ms.getWidth(QStringLiteral("人"))), 210);   // not measured at 10 or 11
    QCOMPARE(roundHalfEven(ms.lineHeight(font, 10.5)), 210);
    // lineHeight leaves the set-up alone.
    ms.lineHeight(font, 20);
    QCOMPARE(roundHalfEven(ms.getWidth(QStringLiteral("人"))), 210);
}

void TestSurfaces::emptyStringHasNoWidth()
{
    MeasuringSurface &ms = MeasuringSurface::instance();
    ms.picPrameterSetup(QStringLiteral("宋体"), 12, false, 1);
    QCOMPARE(ms.getWidth(QString()), 0.0);
}

void TestSurfaces::widthIsSumOfAdvances()
{
    // What the painter lays out for a whole run equals the sum of the
    // measured advances, so measurement and drawing agree.
    MeasuringSurface &ms = MeasuringSurface::instance();
    const QString text = QStringLiteral("干部 Cadre 1960.05（江苏）, “引号” ABCxyz！");
    for (const QString &font : {QStringLiteral("宋体"), QStringLiteral("楷体")})
        for (double size : {12.0, 10.5, 9.0, 8.0}) {
            ms.picPrameterSetup(font, size, false, 1);
            const QFontMetricsF fm(ms.twipFont(font, size));
            QCOMPARE(ms.getWidth(text), fm.horizontalAdvance(text));
        }
    // A tab is drawn as a space and measured as one.
    ms.picPrameterSetup(QStringLiteral("宋体"), 12, false, 1);
    QCOMPARE(ms.getWidth(QStringLiteral("a\tb")), ms.getWidth(QStringLiteral("a b")));
}

void TestSurfaces::scaleModes()
{
    MeasuringSurface &ms = MeasuringSurface::instance();
    ms.picPrameterSetup(QStringLiteral("宋体"), 12, false, 2);   // points
    QCOMPARE(ms.getWidth(QStringLiteral("人人")), 24.0);
    ms.picPrameterSetup(QStringLiteral("宋体"), 12, false, 3);   // pixels at 96 dpi
    QCOMPARE(ms.getHeight(QStringLiteral("人")), 16.0);
    ms.picPrameterSetup(QStringLiteral("宋体"), 12, false, 1);
    QCOMPARE(ms.getWidth(QStringLiteral("人人")), 480.0);
}

void TestSurfaces::typefaceResolution()
{
    const QStringList arpl{QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL SungtiL GB"),
                           QStringLiteral("AR PL KaitiM GB")};
    const QStringList windows{QStringLiteral("SimSun"), QStringLiteral("KaiTi"),
                              QStringLiteral("AR PL SungtiL GB")};
    QString warning = QStringLiteral("stale");
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("宋体"), windows, &warning), QStringLiteral("SimSun"));
    QVERIFY(warning.isEmpty());
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("楷体"), windows, &warning), QStringLiteral("KaiTi"));
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("宋体"), arpl, &warning), QStringLiteral("AR PL SungtiL GB"));
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("楷体"), arpl, &warning), QStringLiteral("AR PL KaitiM GB"));
    QVERIFY(warning.isEmpty());
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("黑体"), arpl, &warning), QStringLiteral("黑体"));
    QVERIFY(warning.isEmpty());

    // Neither face: carry on with the AR PL name and say what to install.
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("宋体"), {QStringLiteral("DejaVu Sans")}, &warning),
             QStringLiteral("AR PL SungtiL GB"));
    QVERIFY(warning.contains(QStringLiteral("fonts-arphic-gbsn00lp")));
    QVERIFY(warning.contains(QStringLiteral("宋体")));
    QCOMPARE(resolveFontFamilyIn(QStringLiteral("楷体"), {}, &warning), QStringLiteral("AR PL KaitiM GB"));
    QVERIFY(warning.contains(QStringLiteral("fonts-arphic-gkai00mp")));

    // On this machine.
    const QStringList installed = QFontDatabase::families();
    QCOMPARE(resolveFontFamily(QStringLiteral("宋体")),
             installed.contains(QStringLiteral("SimSun")) ? QStringLiteral("SimSun") : QStringLiteral("AR PL SungtiL GB"));
}

void TestSurfaces::printAdvancesByOneLine()
{
    RecordingSurface r;
    r.setFontName(QStringLiteral("楷体"));
    r.setFontSize(10.5);
    r.CurrentX = 100.25;
    r.CurrentY = 200;
    r.Print(QStringLiteral("第一行"));
    QCOMPARE(r.CurrentX, 0.0);
    QCOMPARE(roundHalfEven(r.CurrentY - 200), 210);
    r.Print(QStringLiteral("第二行"));
    const auto texts = r.texts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0].x, 100.25);
    QCOMPARE(texts[0].y, 200.0);
    QCOMPARE(texts[0].size, 10.5);   // passed through unrounded
    QCOMPARE(texts[0].font, QStringLiteral("楷体"));
    QCOMPARE(texts[1].x, 0.0);
    QCOMPARE(texts[1].y, 200 + MeasuringSurface::instance().lineHeight(QStringLiteral("楷体"), 10.5));
}

void TestSurfaces::displayListFormat()
{
    RecordingSurface r;
    r.beginPage(1);
    r.setFontName(QStringLiteral("宋体"));
    r.setFontSize(20);
    r.CurrentX = 850 + 1984.5;
    r.CurrentY = 1134 - 567;
    r.Print(QStringLiteral("干 部 任 免 审 批 表"));
    r.setFontName(QStringLiteral("楷体"));
    r.setFontSize(10.5);
    r.CurrentX = 1786;
    r.CurrentY = 850.05;
    r.Print(QStringLiteral("a\\b\tc\rd\ne"));
    r.setDrawWidth(4);
    r.Line(850, 1134, 850 + 8165, 1134.0000001);
    r.PaintPicture(QImage(), 7220.4, 1176.35, 1772.442, 2349.48);
    r.Message(QStringLiteral("系统"), QStringLiteral("姓名区域过小\r\n请重试！"));
    r.beginPage(2);
    QCOMPARE(r.displayList(),
             QStringLiteral("page\t1\n"
                            "text\t2834.5\t567\t宋体\t20\t干 部 任 免 审 批 表\n"
                            "text\t1786\t850.05\t楷体\t10.5\ta\\\\b\\tc\\rd\\ne\n"
                            "line\t850\t1134\t9015\t1134\t4\n"
                            "picture\t7220.4\t1176.35\t1772.442\t2349.48\n"
                            "message\t系统\t姓名区域过小\\r\\n请重试！\n"
                            "page\t2\n"));
    QCOMPARE(RecordingSurface::formatNumber(-0.00001), QStringLiteral("0"));
    QCOMPARE(RecordingSurface::formatNumber(1984.49999999), QStringLiteral("1984.5"));
    QCOMPARE(RecordingSurface::formatNumber(-283.5), QStringLiteral("-283.5"));
    QCOMPARE(RecordingSurface::formatNumber(1.23456), QStringLiteral("1.2346"));
}

void TestSurfaces::messagesRecordedAndForwarded()
{
    RecordingSurface r;
    r.Message(QStringLiteral("系统"), QStringLiteral("无人接收"), MessageIcon::Exclamation);
    ScriptedInteraction ui;
    r.setInteraction(&ui);
    r.Message(QStringLiteral("系统"), QStringLiteral("有人接收"), MessageIcon::Information);
    QCOMPARE(r.messages().size(), 2);
    QCOMPARE(r.messages().at(0).icon, MessageIcon::Exclamation);
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown.at(0).title, QStringLiteral("系统"));
    QCOMPARE(ui.shown.at(0).text, QStringLiteral("有人接收"));
    QCOMPARE(ui.shown.at(0).icon, MessageIcon::Information);
}

void TestSurfaces::sameTwipPositionsAtEveryResolution()
{
    const QImage low = renderImage(96);
    const QImage high = renderImage(600);

    QImage pdfRaster;
    const QString pdftoppm = tool(QStringLiteral("pdftoppm"));
    QTemporaryDir dir;
    if (!pdftoppm.isEmpty()) {
        const QString pdf = dir.filePath(QStringLiteral("runs.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QSizeF(6, 4), QPageSize::Inch));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setResolution(1200);
            QPainter painter(&writer);
            PainterSurface surface(&painter, 1200);
            drawRuns(surface);
        }
        run(pdftoppm, {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"),
                       QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("runs"))});
        pdfRaster.load(dir.filePath(QStringLiteral("runs.pgm")));
        QVERIFY(!pdfRaster.isNull());
    }

    MeasuringSurface &ms = MeasuringSurface::instance();
    for (const Run &r : sampleRuns()) {
        ms.picPrameterSetup(r.font, r.size, false, 1);
        const double width = ms.getWidth(r.text);
        const double lh = ms.getHeight(r.text);
        const QRectF hi = inkBox(high, 600, r);
        const QRectF lo = inkBox(low, 96, r);
        QVERIFY2(!hi.isEmpty() && !lo.isEmpty(), qPrintable(r.text));
        // The ink lies in the run's measured box: from CurrentX to the
        // measured width, from CurrentY down one line.
        QVERIFY2(hi.left() >= r.x - 3 && hi.left() <= r.x + 0.25 * r.size * 20, qPrintable(r.text));
        QVERIFY2(hi.right() <= r.x + width + 3 && hi.right() >= r.x + width - 0.8 * r.size * 20,
                 qPrintable(r.text));
        QVERIFY2(hi.top() >= r.y - 3 && hi.bottom() <= r.y + lh + 3, qPrintable(r.text));
        // 96 dpi: the same place within a pixel and a half (22.5 twips).
        const double tol96 = 1.5 * 15;
        QVERIFY2(qAbs(lo.left() - hi.left()) <= tol96 && qAbs(lo.right() - hi.right()) <= tol96
                     && qAbs(lo.top() - hi.top()) <= tol96 && qAbs(lo.bottom() - hi.bottom()) <= tol96,
                 qPrintable(QStringLiteral("%1: 96 dpi %2,%3-%4,%5 600 dpi %6,%7-%8,%9").arg(r.text)
                                .arg(lo.left()).arg(lo.top()).arg(lo.right()).arg(lo.bottom())
                                .arg(hi.left()).arg(hi.top()).arg(hi.right()).arg(hi.bottom())));
        if (!pdfRaster.isNull()) {
            const QRectF pd = inkBox(pdfRaster, 600, r);
            const double tolPdf = 2 * 2.4;   // two pixels at 600 dpi
            QVERIFY2(qAbs(pd.left() - hi.left()) <= tolPdf && qAbs(pd.right() - hi.right()) <= tolPdf
                         && qAbs(pd.top() - hi.top()) <= tolPdf && qAbs(pd.bottom() - hi.bottom()) <= tolPdf,
                     qPrintable(QStringLiteral("%1: pdf %2,%3-%4,%5 image %6,%7-%8,%9").arg(r.text)
                                    .arg(pd.left()).arg(pd.top()).arg(pd.right()).arg(pd.bottom())
                                    .arg(hi.left()).arg(hi.top()).arg(hi.right()).arg(hi.bottom())));
        }
    }
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm not installed: the PDF was not compared");
}

void TestSurfaces::pdfHasRealTextWithEmbeddedFonts()
{
    const QString pdffonts = tool(QStringLiteral("pdffonts"));
    const QString pdftotext = tool(QStringLiteral("pdftotext"));
    if (pdffonts.isEmpty() || pdftotext.isEmpty())
        QSKIP("poppler-utils not installed");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("runs.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QSizeF(6, 4), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        QPainter painter(&writer);
        PainterSurface surface(&painter, 0);   // the writer's own resolution
        QCOMPARE(surface.dotsPerInch(), 1200.0);
        drawRuns(surface);
    }
    // Every font embedded.
    const QStringList fontLines = run(pdffonts, {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(fontLines.size() >= 2);
    for (const QString &line : fontLines) {
        const QStringList cols = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        QVERIFY2(cols.size() >= 5 && cols.at(cols.size() - 5) == QLatin1String("yes"), qPrintable(line));
    }
    // Text, at the measured positions (points = twips / 20).
    const QString bbox = run(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    MeasuringSurface &ms = MeasuringSurface::instance();
    for (const Run &r : sampleRuns()) {
        const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>")
                                      + QRegularExpression::escape(r.text.toHtmlEscaped()) + QStringLiteral("</word>"));
        const auto m = word.match(bbox);
        QVERIFY2(m.hasMatch(), qPrintable(r.text + QStringLiteral(" not found in\n") + bbox));
        ms.picPrameterSetup(r.font, r.size, false, 1);
        QVERIFY(qAbs(m.captured(1).toDouble() * 20 - r.x) <= 2);
        QVERIFY(qAbs(m.captured(2).toDouble() * 20 - (r.x + ms.getWidth(r.text))) <= 2);
    }
}

void TestSurfaces::linesAndPictures()
{
    // A 4-pixel pen at 96 dpi is 4 pixels wide; a picture fills its rectangle.
    QImage image(960, 480, QImage::Format_RGB32);
    image.fill(Qt::white);
    QImage photo(10, 20, QImage::Format_RGB32);
    photo.fill(Qt::black);
    {
        QPainter painter(&image);
        PainterSurface surface(&painter, 96);
        surface.setDrawWidth(4);
        surface.Line(1500, 1500, 12000, 1500);   // y = 100 px
        surface.PaintPicture(photo, 1500, 3000, 1500, 2400);   // 100,200 100 x 160 px
    }
    int dark = 0;
    for (int y = 90; y < 110; ++y)
        dark += qGray(image.pixel(400, y)) < 128;
    QCOMPARE(dark, 4);
    QVERIFY(qGray(image.pixel(101, 201)) < 128);
    QVERIFY(qGray(image.pixel(198, 358)) < 128);
    QVERIFY(qGray(image.pixel(202, 280)) > 128);
    QVERIFY(qGray(image.pixel(150, 362)) > 128);
}

QTEST_MAIN(TestSurfaces)
#include "tst_surfaces.moc"
