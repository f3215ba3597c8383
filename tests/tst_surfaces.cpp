#include "layout/MeasuringSurface.h"
#include "layout/PainterSurface.h"
#include "support/ScriptedInteraction.h"
#include "foundation/Twips.h"
#include "support/LayoutTestSupport.h"

#include <QPainter>
#include <QtTest>

namespace {

struct Run { QString text; double x, y; QString font; double size; };

const QList<Run> kRuns = {
    {u"干部任免审批表"_s, 1440, 720, u"宋体"_s, 12},
    {u"张三丰，男，汉族（江苏）"_s, 1000.5, 1500, u"楷体"_s, 10.5},
    {u"ABC123中文（括号）"_s, 1500, 2300, u"宋体"_s, 9},
    {u"1960.05"_s, 4000, 3100, u"楷体"_s, 8},
    {u"中华人民共和国"_s, 2222, 4400, u"楷体"_s, 20},
};

// The runs on a page of 6 x 4 inches. (The PDF printer's texts are checked
// against their twip positions where printing is tested.)
QImage renderImage(double dpi)
{
    QImage image(qRound(6 * dpi), qRound(4 * dpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterSurface surface(&painter, dpi);
    for (const Run &r : kRuns) {
        surface.setFontName(r.font);
        surface.setFontSize(r.size);
        surface.drawText(r.x, r.y, r.text);
    }
    return image;
}

// Ink rectangle, in twips, of the dark pixels in the band of one run.
QRectF inkBox(const QImage &image, double dpi, const Run &r)
{
    const double s = dpi / 1440, lh = MeasuringSurface().lineHeight(r.font, r.size);
    QRect box;
    for (int y = qMax(0, int((r.y - 40) * s)); y <= qMin(image.height() - 1, int((r.y + lh + 40) * s)); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 224)
                box |= QRect(x, y, 1, 1);
    return QRectF(box.left() / s, box.top() / s, box.width() / s, box.height() / s);
}

} // namespace

class TestSurfaces : public QObject {
    Q_OBJECT
private slots:
    // The reference widths and heights, and every width the one the painter
    // lays out with the same twip font.
    void metrics()
    {
        MeasuringSurface ms;
        const QString mixed = u"干部 Cadre 1960.05（江苏）, “引号” ABCxyz！"_s;
        for (const QString &font : {u"宋体"_s, u"楷体"_s}) {
            ms.setUpFont(font, 12);
            QList<int> got = {roundHalfEven(ms.textWidth(u"人"_s)), roundHalfEven(ms.textWidth(u"A"_s)),
                              roundHalfEven(ms.textHeight(u"人"_s)), roundHalfEven(ms.lineHeight(font, 12)), ms.textWidth(QString()) == 0.0 ? 0 : -1};
            ms.setUpFont(font, 10.5);   // not measured at 10 or 11
            ms.lineHeight(font, 20);    // leaves the set-up alone
            got << roundHalfEven(ms.textHeight(u"人"_s)) << roundHalfEven(ms.textWidth(u"人"_s));
            QCOMPARE(got, (QList<int>{240, 120, 240, 240, 0, 210, 210}));
            for (double size : {12.0, 10.5, 9.0, 8.0}) {
                ms.setUpFont(font, size);
                QCOMPARE(ms.textWidth(mixed), QFontMetricsF(ms.twipFont(font, size)).horizontalAdvance(mixed));
            }
        }
        // A tab is drawn as a space and measured as one.
        QCOMPARE(ms.textWidth(u"a\tb"_s), ms.textWidth(u"a b"_s));
    }

    void typefaceResolution()
    {
        // Families known by any of their names (a Chinese locale lists the AR PL faces as "文鼎ＰＬ…").
        const auto arpl = [](const QStringList &more) {
            return [more](const QString &f) {
                return QStringList{u"DejaVu Sans"_s, u"AR PL SungtiL GB"_s, u"AR PL KaitiM GB"_s}.contains(f) || more.contains(f);
            };
        };
        QString warning = u"stale"_s;
        QCOMPARE((QStringList{resolveFontFamilyIn(u"宋体"_s, arpl({u"SimSun"_s}), &warning),
                              resolveFontFamilyIn(u"楷体"_s, arpl({u"KaiTi"_s}), &warning), resolveFontFamilyIn(u"宋体"_s, arpl({}), &warning),
                              resolveFontFamilyIn(u"楷体"_s, arpl({}), &warning), resolveFontFamilyIn(u"黑体"_s, arpl({}), &warning)}),
                 (QStringList{u"SimSun"_s, u"KaiTi"_s, u"AR PL SungtiL GB"_s, u"AR PL KaitiM GB"_s, u"黑体"_s}));
        QVERIFY(warning.isEmpty() && missingFormFonts(arpl({})).isEmpty());
        // Neither face: carry on with the AR PL name and say what to install.
        const auto dejaVuOnly = [](const QString &f) { return f == u"DejaVu Sans"_s; };
        QCOMPARE(resolveFontFamilyIn(u"宋体"_s, dejaVuOnly, &warning), u"AR PL SungtiL GB"_s);
        QVERIFY(warning.contains(u"fonts-arphic-gbsn00lp"_s) && warning.contains(u"宋体"_s));
        QCOMPARE(resolveFontFamilyIn(u"楷体"_s, dejaVuOnly, &warning), u"AR PL KaitiM GB"_s);
        QVERIFY(warning.contains(u"fonts-arphic-gkai00mp"_s));
        QCOMPARE(missingFormFonts(dejaVuOnly).size(), 2);
        ScriptedInteraction ui;
        QVERIFY(tellMissingFormFonts(ui, dejaVuOnly) && !tellMissingFormFonts(ui, arpl({})));
        QVERIFY(ui.messageTexts().size() == 1 && ui.shown[0].title == u"系统警告"_s
                && ui.messageTexts()[0].contains(u"fonts-arphic-gkai00mp"_s));
        // The installed faces are found whatever the locale names them.
        QVERIFY(missingFormFonts().isEmpty());
    }

    void displayListFormat()
    {
        RecordingSurface r = recorder(u"楷体"_s, 10.5);
        r.beginPage(1);
        r.drawText(1786, 850.05, u"a\\b\tc\rd\ne"_s);
        QCOMPARE(roundHalfEven(r.lineHeight()), 210);
        r.setPenWidth(4);
        r.drawLine(850, 1134, 850 + 8165, 1134.0000001);
        r.drawPicture(QImage(), 7220.4, 1176.35, 1772.442, 2349.48);
        r.showMessage({FailureKind::DoesNotFitCell, u"姓名区域过小\r\n请重试！"_s});
        r.beginPage(2);
        QCOMPARE(r.displayList(), u"page\t1\n"
                                  "text\t1786\t850.05\t楷体\t10.5\ta\\\\b\\tc\\rd\\ne\n"
                                  "line\t850\t1134\t9015\t1134\t4\n"
                                  "picture\t7220.4\t1176.35\t1772.442\t2349.48\n"
                                  "message\t系统\t姓名区域过小\\r\\n请重试！\n"
                                  "page\t2\n"_s);
        QCOMPARE((QStringList{RecordingSurface::formatNumber(-0.00001), RecordingSurface::formatNumber(-283.5),
                              RecordingSurface::formatNumber(1.23456)}), (QStringList{u"0"_s, u"-283.5"_s, u"1.2346"_s}));
    }

    void sameTwipPositionsAtEveryResolution()
    {
        const QImage low = renderImage(96), high = renderImage(600);
        MeasuringSurface ms;
        for (const Run &r : kRuns) {
            ms.setUpFont(r.font, r.size);
            const double width = ms.textWidth(r.text), lh = ms.textHeight(r.text), em = r.size * 20;
            const QRectF hi = inkBox(high, 600, r), lo = inkBox(low, 96, r);
            // The ink lies in the measured box: from the text's position
            // across the measured width and down one line.
            QVERIFY2(hi.left() >= r.x - 3 && hi.left() <= r.x + 0.25 * em, qPrintable(r.text));
            QVERIFY2(hi.right() <= r.x + width + 3 && hi.right() >= r.x + width - 0.8 * em, qPrintable(r.text));
            QVERIFY2(hi.top() >= r.y - 3 && hi.bottom() <= r.y + lh + 3, qPrintable(r.text));
            // Within a pixel and a half at 96 dpi.
            const double tol = 1.5 * 15;
            QVERIFY2(qAbs(lo.left() - hi.left()) <= tol && qAbs(lo.right() - hi.right()) <= tol
                         && qAbs(lo.top() - hi.top()) <= tol && qAbs(lo.bottom() - hi.bottom()) <= tol, qPrintable(r.text));
        }
    }

    void linesAndPictures()
    {
        // A 60-twip pen draws 4 pixels at 96 dpi; a picture fills its rectangle.
        QImage image(960, 480, QImage::Format_RGB32), photo(10, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        photo.fill(Qt::black);
        {
            QPainter painter(&image);
            PainterSurface surface(&painter, 96);
            surface.setPenWidth(60);
            surface.drawLine(1500, 1500, 12000, 1500);                 // y = 100 px
            surface.drawPicture(photo, 1500, 3000, 1500, 2400);   // 100, 200 and 100 x 160 px
        }
        auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
        QVERIFY(!dark(400, 97) && dark(400, 98) && dark(400, 101) && !dark(400, 102));
        QVERIFY(dark(101, 201) && dark(198, 358) && !dark(202, 280) && !dark(150, 362));
    }
};

QTEST_MAIN(TestSurfaces)
#include "tst_surfaces.moc"
