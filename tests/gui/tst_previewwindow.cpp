// The preview window under the offscreen platform: pages, scrolling,
// dragging, the paper pictures, closing and the PDF export.
#include "layout/PainterSurface.h"
#include "record/PreviewSettings.h"
#include "support/GuiTestSupport.h"
#include <QComboBox>
#include <QScreen>
#include <QPainter>

class TestPreviewWindow : public QObject {
    Q_OBJECT
    ScriptedInteraction ui;
    std::unique_ptr<PreviewWindow> w;
    static void sendMouse(QWidget *target, QEvent::Type type, int y, Qt::MouseButtons buttons)
    {
        const QPointF pos(50, y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &e);
    }
private slots:
    void initTestCase() { GuiTest::isolateSettings(); }
    void init() { w = std::make_unique<PreviewWindow>(ui = ScriptedInteraction()); }
    void cleanup() { w.reset(); }

    void pagesAndScrolling()
    {
        GuiTest::setUpSample(*w);
        w->show();
        // The title, the paper and the scroll bar of one page show at a time.
        auto showing = [this](int page) {
            return w->windowTitle() == (page ? QStringLiteral("干部任免审批表第二页") : QStringLiteral("干部任免审批表第一页"))
                && w->paper(page)->isVisible() && w->paper(1 - page)->isHidden()
                && (page ? w->pageTwoScrollBar : w->pageOneScrollBar)->isVisible()
                && (page ? w->pageOneScrollBar : w->pageTwoScrollBar)->isHidden();
        };
        QVERIFY(showing(0) && w->cmdPageOne->isHidden() && !w->cmdPageOne->isEnabled() && ui.shown.isEmpty());
        QTest::mouseClick(w->cmdPageTwo, Qt::LeftButton);
        QVERIFY(showing(1) && w->cmdPageOne->isVisible() && !w->cmdPageTwo->isVisible());
        QCOMPARE(w->cmdPageOne->text() + w->cmdPageTwo->text(), QStringLiteral("上页下页"));

        // Top = 1080 - Value, for each page on its own.
        QVERIFY(w->pageOneScrollBar->value() == 0 && w->paperTop(0) == 1080.0);
        w->pageOneScrollBar->setValue(3000);
        QVERIFY(w->paperTop(0) == -1920.0 && w->paper(0)->y() == w->twipsToPixels(-1920) && w->paperTop(1) == 1080.0);
        w->pageTwoScrollBar->setValue(w->pageTwoScrollBar->maximum());
        QVERIFY(w->paperTop(1) + PreviewWindow::kPaperHeight <= w->pixelsToTwips(w->paperViewport->height()));
        // The paper shows the ordinary arrow until a drag starts.
        QVERIFY(w->paper(0)->cursor().shape() == Qt::ArrowCursor && w->paper(1)->cursor().shape() == Qt::ArrowCursor);
        w->chkDefaultB5->setChecked(true);
        w->setUp();   // opening again starts at the top of page one, B5 unticked
        QVERIFY(!w->chkDefaultB5->isChecked() && showing(0) && w->paperTop(0) == 1080.0);
    }

    // Ctrl+Plus/Minus and the wheel with Ctrl step the zoom from 100 %, Ctrl+0
    // comes back; the sheet is drawn afresh at its new size.
    void zoomKeys_data()
    {
        QTest::addColumn<int>("key");   // 0: the wheel, a notch up (1) or down (-1)
        QTest::addColumn<int>("notches");
        QTest::addColumn<double>("scale");
        QTest::newRow("Ctrl+Plus") << int(Qt::Key_Plus) << 0 << 1.25;
        QTest::newRow("Ctrl+=") << int(Qt::Key_Equal) << 0 << 1.25;
        QTest::newRow("Ctrl+Minus") << int(Qt::Key_Minus) << 0 << 0.75;
        QTest::newRow("wheel up") << 0 << 1 << 1.25;
        QTest::newRow("wheel down twice") << 0 << -2 << 0.5;
    }
    void zoomKeys()
    {
        QFETCH(int, key);
        QFETCH(int, notches);
        QFETCH(double, scale);
        GuiTest::setUpSample(*w);
        QVERIFY(GuiTest::showActive(w.get()));
        if (key) {
            QTest::keyClick(w.get(), Qt::Key(key), Qt::ControlModifier);
        } else {
            const QPointF at(w->paper(0)->rect().center());
            QWheelEvent e(at, w->paper(0)->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(w.get(), &e);
        }
        QCOMPARE(w->zoomScale(), scale);
        QCOMPARE(w->zoomBox->currentText(), QStringLiteral("%1%").arg(qRound(scale * 100)));
        QCOMPARE(w->paper(0)->width(), qRound(PreviewWindow::kPaperWidth * scale * w->screenDpi() / 1440));
        QVERIFY(w->shownImage(0).size() == w->paper(0)->size() && ui.shown.isEmpty());   // drawing again says nothing again
        QTest::keyClick(w.get(), Qt::Key_0, Qt::ControlModifier);
        QVERIFY(w->zoomScale() == 1.0 && w->shownImage(0).cacheKey() == w->paperImage(0).cacheKey());
    }

    // Page width and whole page follow the window; page keys scroll and switch pages.
    void fitsAndPageKeys()
    {
        w->setUp();
        QVERIFY(GuiTest::showActive(w.get()));
        const int gap = w->twipsToPixels(PreviewZoom::kSideGap);
        w->setZoom({PreviewZoom::Fit::PageWidth});
        for (int width : {700, 1000}) {
            w->resize(width, 500);
            QVERIFY(qAbs(w->paper(0)->width() * (1 + 2 * gap / double(w->twipsToPixels(PreviewWindow::kPaperWidth)))
                         - w->paperViewport->width()) < 3);
            QVERIFY(w->paper(0)->x() > 0 && w->sidewaysScrollBar->isHidden());
        }
        QCOMPARE(w->zoomBox->currentText(), QStringLiteral("页宽"));
        w->setZoom({PreviewZoom::Fit::WholePage});
        QVERIFY(w->paper(0)->geometry().bottom() < w->paperViewport->height() && w->pageOneScrollBar->maximum() == 0);
        w->zoomIn();   // from the scale shown to the next step above it
        const QSizeF sheet(PreviewWindow::kPaperWidth, PreviewWindow::kPaperHeight);
        const QSizeF viewport(w->pixelsToTwips(w->paperViewport->width()), w->pixelsToTwips(w->paperViewport->height()));
        QCOMPARE(w->zoomScale(),
                 PreviewZoom::nextStep(PreviewZoom::fitScale(PreviewZoom::Fit::WholePage, sheet, viewport, 1080), 1));
        w->setZoom({PreviewZoom::Fit::None, 3.0});
        QVERIFY(w->sidewaysScrollBar->isVisible() && w->paper(0)->x() < 0);

        QTest::keyClick(w.get(), Qt::Key_PageDown);
        QVERIFY(w->pageOneScrollBar->value() == w->pageOneScrollBar->pageStep() && w->paperTop(0) < 1080);
        QTest::keyClick(w.get(), Qt::Key_PageUp);
        QCOMPARE(w->pageOneScrollBar->value(), 0);
        QTest::keyClick(w.get(), Qt::Key_PageDown, Qt::ControlModifier);
        QVERIFY(w->paper(1)->isVisible() && w->cmdPageOne->isVisible());
        QTest::keyClick(w.get(), Qt::Key_PageDown);
        QCOMPARE(w->pageTwoScrollBar->value(), w->pageTwoScrollBar->pageStep());
        QTest::keyClick(w.get(), Qt::Key_PageUp, Qt::ControlModifier);
        QVERIFY(w->paper(0)->isVisible() && w->cmdPageTwo->isVisible());
    }

    // It opens at the size and zoom it was left at, never larger than the screen.
    void sizeAndZoomKept()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((PreviewSettings{screen.size() * 2, false, QStringLiteral("WHOLE_PAGE")}.store()));
        QRect opened;
        QString zoom;
        GuiTest::onNextModal([&](QWidget *modal) {
            opened = modal->frameGeometry();
            zoom = w->zoomBox->currentText();
            modal->resize(760, 480);
            w->zoomIn();
            modal->close();
        });
        w->showModal();
        QVERIFY(screen.contains(opened) && zoom == QStringLiteral("整页"));
        const PreviewSettings kept = PreviewSettings::load();
        QVERIFY(kept.size == QSize(760, 480) && !kept.maximized);
        QCOMPARE(PreviewZoom::fromSetting(kept.zoom).scale, w->zoomScale());
        QVERIFY(PreviewSettings{}.store());   // the other tests open at 100 %
    }

    void paperPicturesHoldTheDrawnPages()
    {
        GuiTest::setUpSample(*w);
        const PageMargins m = w->pages().margins;
        const double ratio = w->devicePixelRatioF();   // 1.5 under QT_SCALE_FACTOR=1.5: drawn that fine
        for (int page = 0; page < 2; ++page) {
            const QImage &img = w->paperImage(page);
            // The B5 sheet of the printers and the PDF, 182 x 257 mm.
            QCOMPARE(img.size(), QSize(qRound(10319.4 * w->screenDpi() / 1440), qRound(14571.9 * w->screenDpi() / 1440)) * ratio);
            QImage direct(img.size(), QImage::Format_RGB32);
            direct.setDevicePixelRatio(ratio);
            direct.fill(Qt::white);
            QPainter painter(&direct);
            PainterSurface surface(&painter, w->screenDpi());
            page == 0 ? w->pages().drawPageOne(surface) : w->pages().drawPageTwo(surface);
            // The frame's top-left corner is ink; the picture is the page as drawn directly.
            const QPoint corner = QPoint(w->twipsToPixels((page ? m.pageTwoLeft : m.pageOneLeft) + 500),
                                         w->twipsToPixels(m.top)) * ratio;
            QVERIFY(qGray(img.pixel(corner)) < 128);
            QCOMPARE(img, direct);
        }
        // Switching and scrolling reuse the pictures: nothing is redrawn.
        const qint64 key0 = w->paperImage(0).cacheKey();
        w->showPageTwo();
        w->pageTwoScrollBar->setValue(1234);
        w->showPageOne();
        QCOMPARE(w->paperImage(0).cacheKey(), key0);
    }

    void dragging_data()
    {
        QTest::addColumn<QByteArray>("cursor");   // empty: missing
        QTest::addColumn<bool>("drags");
        QTest::newRow("cursor") << readAll(QStringLiteral(AF_SOURCE_DIR "/resources/资源/H_MOVE.CUR")) << true;
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a cursor") << QByteArray(64, 'x') << false;
    }
    void dragging()
    {
        QFETCH(QByteArray, cursor);
        QFETCH(bool, drags);
        QTemporaryDir dir;
        w->cursorPath = dir.filePath(QStringLiteral("H_MOVE.CUR"));
        QVERIFY(cursor.isEmpty() || writeBytes(w->cursorPath, cursor));
        w->setUp();
        w->show();
        QWidget *paper = w->paper(0);
        const int before = paper->y();
        sendMouse(paper, QEvent::MouseButtonPress, 100, Qt::LeftButton);
        QVERIFY(w->dragging() == drags && (QGuiApplication::overrideCursor() != nullptr) == drags);
        QCOMPARE(ui.shown.size(), drags ? 0 : 1);
        if (!drags)
            QVERIFY(ui.shown[0].title == QStringLiteral("系统警告") && ui.shown[0].icon == MessageIcon::Critical
                    && ui.shown[0].text == QStringLiteral("没有对应的鼠标光标，程序可继续运行。但不能拖动纸张来查看内容！"));
        sendMouse(paper, QEvent::MouseMove, 160, Qt::LeftButton);
        QCOMPARE(paper->y(), before + (drags ? 60 : 0));
        // The sheet moved under the mouse: 20 pixels back up moves it by 20.
        sendMouse(paper, QEvent::MouseMove, 80, Qt::LeftButton);
        QCOMPARE(paper->y(), before + (drags ? 40 : 0));
        sendMouse(paper, QEvent::MouseButtonRelease, 80, Qt::NoButton);
        QVERIFY(!w->dragging() && QGuiApplication::overrideCursor() == nullptr && w->pageOneScrollBar->value() == 0);
    }

    void messagesAndClosing()
    {
        w->pages().currentPosts = QString(80, QChar(0x4E2D));
        int unloads = 0;
        w->onUnload = [&unloads] { ++unloads; };
        w->setUp();
        QVERIFY(ui.messageTexts().value(0).startsWith(QStringLiteral("输入文字过长")));
        // Said once per preview: not again when the same pages are exported or printed.
        QTemporaryDir dir;
        ui.fileNames << dir.filePath(QStringLiteral("form.pdf"));
        ui.inputs << QStringLiteral("3");
        w->printerChooser = GuiTest::pdfPrinter(dir.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(w->exportPdf() && w->printPages() == 2 && ui.messageTexts().size() == 1);
        w->show();
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        w->setUp();
        w->show();
        w->close();   // the close box alike, once per closing; a new preview says it again
        QVERIFY(unloads == 2 && ui.messageTexts().size() == 2);
    }

    void exportPdf()
    {
        GuiTest::setUpSample(*w);
        QTemporaryDir dir;
        ui.fileNames << QString() << dir.filePath(QStringLiteral("form")) << QString()
                     << dir.filePath(QStringLiteral("no/such/folder/form.pdf"));
        QVERIFY(!w->exportPdf() && QDir(dir.path()).isEmpty());   // cancelled: nothing written
        QTest::mouseClick(w->cmdExportPdf, Qt::LeftButton);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("form.pdf"))));   // ".pdf" added
        // The next export starts in this folder, named after the cadre.
        w->pages().name = QStringLiteral("李/四");
        w->exportPdf();
        QCOMPARE(ui.shown.last().startPath, dir.filePath(QStringLiteral("李_四.pdf")));
        QVERIFY(ui.messageTexts().isEmpty() && !w->exportPdf());
        QVERIFY(ui.messageTexts().value(0).startsWith(QStringLiteral("PDF 文件未能写入")));
        // ".pdf" added to any other name; a file that is there is replaced
        // only when the clerk says so.
        const QString chosen = dir.filePath(QStringLiteral("名单.txt")), written = chosen + QStringLiteral(".pdf");
        QVERIFY(writeBytes(written, "earlier"));
        ui.fileNames << chosen << chosen;
        QVERIFY(!w->exportPdf() && ui.shown.last().text.contains(QStringLiteral("已存在，要替换它吗？")));
        QCOMPARE(readAll(written), QByteArray("earlier"));   // no answer: No
        ui.answers << Answer::Yes;
        QVERIFY(w->exportPdf() && readAll(written).startsWith("%PDF"));
        // 导出Word: the same rules, its own suffix, filter and start name.
        ui.fileNames << dir.filePath(QStringLiteral("form"));
        QTest::mouseClick(w->cmdExportWord, Qt::LeftButton);
        QVERIFY(readAll(dir.filePath(QStringLiteral("form.docx"))).startsWith("PK")
                && ui.shown.last().text.contains(QStringLiteral("Word文档 (*.docx)"))
                && ui.shown.last().startPath == dir.filePath(QStringLiteral("李_四.docx")));
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"
