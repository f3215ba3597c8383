// The preview window under the offscreen platform: pages, scrolling,
// dragging, the persistent paper images, closing and the PDF export.
#include "app/ScriptedInteraction.h"
#include "layout/PainterSurface.h"
#include "layout/ResumeLayout.h"
#include "render/gui/frmGbrmNew.h"
#include <QCheckBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void fillSample(FormPages &p)
{
    p.TNAME = QStringLiteral("王小明");
    p.SEX = QStringLiteral("男");
    p.BIRTH = QStringLiteral("1970.05");
    p.PEOPLE = QStringLiteral("汉族");
    p.JIGUAN = QStringLiteral("江苏南京");
    p.BIRTHDI = QStringLiteral("江苏南京");
    p.WORKTIME = QStringLiteral("1992.07");
    p.HEALTH = QStringLiteral("健康");
    p.XIANREN = QStringLiteral("某某县人民政府副县长");
    p.NIREN = QStringLiteral("某某县人民政府县长");
    p.JIANLI = QStringLiteral("1988.09--1992.07  某某大学经济系学习\r\n1992.07--2000.01  某某县财政局科员");
    p.CHENGBAO = QStringLiteral("中共某某市委组织部");
    p.MYDATE = QStringLiteral("20240101");
    p.FillDATE = QStringLiteral("20240102");
}

QImage directRendering(frmGbrmNew &w, int page)
{
    QImage img(w.paperImage(page).size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    PainterSurface surface(&painter, w.screenDpi());
    if (page == 0)
        w.pages().预览(surface, 4, 2);
    else
        w.pages().DRAWTHEPHOTO(surface, 4, 2);
    return img;
}

void sendMouse(QWidget *target, QEvent::Type type, int y, Qt::MouseButtons buttons)
{
    const QPointF pos(50, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

QString cursorFile() { return QStringLiteral(AF_SOURCE_DIR "/resources/资源/H_MOVE.CUR"); }

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnPageOne()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        fillSample(w.pages());
        w.Form_Load();
        QCOMPARE(w.windowTitle(), QStringLiteral("干部任免审批表第一页"));
        QVERIFY(w.cmdPageOne->isHidden());
        QVERIFY(!w.cmdPageOne->isEnabled());
        QVERIFY(!w.cmdPageTwo->isHidden());
        QVERIFY(w.cmdPageTwo->isEnabled());
        QVERIFY(!w.PHOTO(0)->isHidden());
        QVERIFY(w.PHOTO(1)->isHidden());
        QVERIFY(!w.VSCROLL1->isHidden());
        QVERIFY(w.VSCROLL2->isHidden());
        QCOMPARE(w.cmdPageOne->text(), QStringLiteral("上页"));
        QCOMPARE(w.cmdPageTwo->text(), QStringLiteral("下页"));
        QCOMPARE(w.cmdPrint->text(), QStringLiteral("打印"));
        QCOMPARE(w.cmdClose->text(), QStringLiteral("关闭"));
        QCOMPARE(w.chkDefaultB5->text(), QStringLiteral("B5或16开纸打印"));
        QVERIFY(ui.shown.isEmpty());
    }

    void pageButtonsSwitchPages()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        w.Form_Load();
        w.show();
        QTest::mouseClick(w.cmdPageTwo, Qt::LeftButton);
        QCOMPARE(w.windowTitle(), QStringLiteral("干部任免审批表第二页"));
        QVERIFY(w.cmdPageOne->isVisible() && w.cmdPageOne->isEnabled());
        QVERIFY(!w.cmdPageTwo->isVisible() && !w.cmdPageTwo->isEnabled());
        QVERIFY(!w.PHOTO(0)->isVisible() && w.PHOTO(1)->isVisible());
        QVERIFY(!w.VSCROLL1->isVisible() && w.VSCROLL2->isVisible());

        QTest::mouseClick(w.cmdPageOne, Qt::LeftButton);
        QCOMPARE(w.windowTitle(), QStringLiteral("干部任免审批表第一页"));
        QVERIFY(!w.cmdPageOne->isVisible() && w.cmdPageTwo->isVisible());
        QVERIFY(w.PHOTO(0)->isVisible() && !w.PHOTO(1)->isVisible());
    }

    void scrollValuePlacesThePaper()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        w.Form_Load();
        QCOMPARE(w.VSCROLL1->value(), 0);
        QCOMPARE(w.paperTop(0), 1080.0);
        QCOMPARE(w.PHOTO(0)->y(), w.twipsToPixels(1080));

        w.VSCROLL1->setValue(3000);
        QCOMPARE(w.paperTop(0), -1920.0);
        QCOMPARE(w.PHOTO(0)->y(), w.twipsToPixels(-1920));
        QCOMPARE(w.paperTop(1), 1080.0);   // the other page keeps its place

        w.VSCROLL2->setValue(w.VSCROLL2->maximum());
        // The sheet's bottom edge comes into the viewport.
        QVERIFY(w.paperTop(1) + frmGbrmNew::kPaperHeight <= frmGbrmNew::kViewportHeight);
        QCOMPARE(w.paperTop(1), 1080.0 - w.VSCROLL2->maximum());
        QCOMPARE(w.VSCROLL1->minimum(), 0);

        // Opening again starts at the top.
        w.Form_Load();
        QCOMPARE(w.paperTop(0), 1080.0);
        QCOMPARE(w.paperTop(1), 1080.0);
    }

    void paperPicturesHoldTheDrawnPages()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        fillSample(w.pages());
        w.Form_Load();
        const double dpi = w.screenDpi();
        for (int page = 0; page < 2; ++page) {
            const QImage &img = w.paperImage(page);
            QCOMPARE(img.width(), qRound(9979.2 * dpi / 1440));
            QCOMPARE(img.height(), qRound(14175 * dpi / 1440));
            QCOMPARE(img, directRendering(w, page));
        }
        // The frame's top-left corner on page one and page two is ink.
        const PageMargins m = w.pages().margins;
        const QImage &one = w.paperImage(0);
        const QImage &two = w.paperImage(1);
        QVERIFY(qGray(one.pixel(w.twipsToPixels(m.L + 500), w.twipsToPixels(m.T))) < 128);
        QVERIFY(qGray(two.pixel(w.twipsToPixels(m.B + 500), w.twipsToPixels(m.T))) < 128);
        QVERIFY(one != two);

        // Switching and scrolling reuse the images: nothing is redrawn.
        const qint64 key0 = one.cacheKey(), key1 = two.cacheKey();
        w.showPageTwo();
        w.VSCROLL2->setValue(1234);
        w.showPageOne();
        w.VSCROLL1->setValue(999);
        QCOMPARE(w.paperImage(0).cacheKey(), key0);
        QCOMPARE(w.paperImage(1).cacheKey(), key1);
    }

    void messagesWhileDrawingGoToTheInteraction()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        w.pages().XIANREN = QString(80, QChar(0x4E2D));
        w.Form_Load();
        QVERIFY(!ui.messageTexts().isEmpty());
        QVERIFY(ui.messageTexts().first().startsWith(QStringLiteral("输入文字过长")));
    }

    void draggingMovesThePaperVertically()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        w.cursorPath = cursorFile();
        w.Form_Load();
        w.show();
        QWidget *paper = w.PHOTO(0);
        const int before = paper->y();

        sendMouse(paper, QEvent::MouseButtonPress, 100, Qt::LeftButton);
        QVERIFY(ui.shown.isEmpty());
        QVERIFY(w.dragging());
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32));
        QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(15, 16));

        sendMouse(paper, QEvent::MouseMove, 160, Qt::LeftButton);
        QCOMPARE(paper->y(), before + 60);
        QCOMPARE(w.paperTop(0), 1080 + w.pixelsToTwips(60));
        // The paper moved under the mouse, so the same point of the sheet is
        // still under it: moving back up by 20 pixels moves the paper by 20.
        sendMouse(paper, QEvent::MouseMove, 100 - 20, Qt::LeftButton);
        QCOMPARE(paper->y(), before + 40);
        // Without the left button nothing moves.
        sendMouse(paper, QEvent::MouseMove, 300, Qt::NoButton);
        QCOMPARE(paper->y(), before + 40);

        sendMouse(paper, QEvent::MouseButtonRelease, 100, Qt::NoButton);
        QVERIFY(!w.dragging());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(w.VSCROLL1->value(), 0);   // the scroll bar is not updated
    }

    void missingCursorWarnsAndDoesNotDrag()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        QTemporaryDir dir;
        w.cursorPath = dir.filePath(QStringLiteral("H_MOVE.CUR"));
        w.Form_Load();
        w.show();
        QWidget *paper = w.PHOTO(0);
        const int before = paper->y();
        sendMouse(paper, QEvent::MouseButtonPress, 100, Qt::LeftButton);
        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(ui.shown[0].title, QStringLiteral("系统警告"));
        QCOMPARE(ui.shown[0].text,
                 QStringLiteral("没有对应的鼠标光标，程序可继续运行。但不能拖动纸张来查看内容！"));
        QCOMPARE(ui.shown[0].icon, MessageIcon::Critical);
        sendMouse(paper, QEvent::MouseMove, 200, Qt::LeftButton);
        QCOMPARE(paper->y(), before);
        sendMouse(paper, QEvent::MouseButtonRelease, 200, Qt::NoButton);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // A file that is not a cursor is as good as a missing one.
        QFile bad(w.cursorPath);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(64, 'x'));
        bad.close();
        w.PHOTO_MouseDown(0, 1, 100);
        QCOMPARE(ui.shown.size(), 2);
        QVERIFY(!w.dragging());
    }

    void closingSetsTheResumeBoxFontOnce()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        QList<int> sizes;
        w.onUnload = [&sizes](int size) { sizes << size; };
        ResumeFontSize = 9;
        w.Form_Load();
        w.show();
        QTest::mouseClick(w.cmdClose, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(sizes, QList<int>{9});

        // The close box does the same on the next opening.
        ResumeFontSize = 12;
        w.Form_Load();
        w.show();
        w.close();
        QCOMPARE(sizes, (QList<int>{9, 12}));
    }

    void exportPdfWritesBothPages()
    {
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        fillSample(w.pages());
        w.Form_Load();
        QTemporaryDir dir;

        ui.fileNames << QString();   // cancelled: nothing written
        QVERIFY(!w.exportPdf());
        QVERIFY(QDir(dir.path()).isEmpty());

        ui.fileNames << dir.filePath(QStringLiteral("form"));   // ".pdf" added
        QTest::mouseClick(w.cmdExportPdf, Qt::LeftButton);
        const QString out = dir.filePath(QStringLiteral("form.pdf"));
        QVERIFY(QFile::exists(out));
        QCOMPARE(ui.shown.last().kind, ScriptedInteraction::Shown::SaveFile);
        QVERIFY(ui.shown.last().startPath.endsWith(QStringLiteral("/王小明.pdf")));
        QVERIFY(ui.messageTexts().isEmpty());
        // The next export starts in the folder of this one, named after the cadre.
        w.pages().TNAME = QStringLiteral("李/四");
        ui.fileNames << QString();
        w.exportPdf();
        QCOMPARE(ui.shown.last().startPath, dir.filePath(QStringLiteral("李_四.pdf")));
        if (pdfinfo.isEmpty())
            QSKIP("pdfinfo not installed");
        QProcess p;
        p.start(pdfinfo, {out});
        QVERIFY(p.waitForFinished());
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+49[89](\\.\\d+)? x 70[89](\\.\\d+)?"))),
                 qPrintable(info));
    }

    void exportPdfToAnUnwritablePlaceSaysSo()
    {
        ScriptedInteraction ui;
        frmGbrmNew w(ui);
        w.Form_Load();
        QTemporaryDir dir;
        ui.fileNames << dir.filePath(QStringLiteral("no/such/folder/form.pdf"));
        QVERIFY(!w.exportPdf());
        QCOMPARE(ui.messageTexts().size(), 1);
        QVERIFY(ui.messageTexts().first().startsWith(QStringLiteral("PDF 文件未能写入")));
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "tst_previewwindow.moc"
