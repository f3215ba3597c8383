#include "windows/PreviewWindow.h"
#include "foundation/Twips.h"
#include "layout/PainterSurface.h"
#include "foundation/TextUtilities.h"
#include "pages/DocumentRender.h"
#include "pages/WordDocument.h"
#include "commands/ReplaceQuestion.h"
#include "record/PreviewSettings.h"
#include "windows/WindowPlacement.h"
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtEndian>
#include <cmath>

// One sheet of paper inside the viewport: shows its persistent image and
// passes the mouse to the window's paper drag in twips.
class PaperPicture : public QWidget {
public:
    PaperPicture(PreviewWindow *form, int index, QWidget *parent)
        : QWidget(parent), m_form(form), m_index(index)
    {
        setObjectName(QStringLiteral("PHOTO(%1)").arg(index));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(rect(), m_form->shownImage(m_index));
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        m_form->startPaperDrag(yTwips(e));
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        m_form->dragPaper(m_index, e->buttons(), yTwips(e));
    }
    void mouseReleaseEvent(QMouseEvent *) override
    {
        m_form->endPaperDrag();
    }

private:
    // Twips of the sheet, whatever the zoom.
    double yTwips(QMouseEvent *e) const { return m_form->pixelsToTwips(e->position().y()) / m_form->zoomScale(); }

    PreviewWindow *m_form;
    int m_index;
};

namespace {

// Reads a Windows cursor file: the picture through Qt's icon reader, the hot
// spot from the file's first directory entry. False when the file is missing
// or not a cursor Qt can decode.
bool loadCursorFile(const QString &path, QCursor *cursor)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.read(1 << 20);
    if (bytes.size() < 22)
        return false;
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    if (qFromLittleEndian<quint16>(d) != 0 || qFromLittleEndian<quint16>(d + 4) < 1)
        return false;
    const quint16 type = qFromLittleEndian<quint16>(d + 2);
    if (type != 1 && type != 2)
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    QImage image = reader.read();
    if (image.isNull())
        return false;
    int hotX = -1, hotY = -1;   // an icon file has no hot spot: the middle
    if (type == 2) {
        hotX = qFromLittleEndian<quint16>(d + 10);
        hotY = qFromLittleEndian<quint16>(d + 12);
        if (hotX >= image.width() || hotY >= image.height())
            hotX = hotY = -1;
    }
    *cursor = QCursor(QPixmap::fromImage(image), hotX, hotY);
    return true;
}

}

void OncePerPreview::message(const QString &title, const QString &text, MessageIcon icon)
{
    const QString key = title + QLatin1Char('\n') + text;
    if (m_shown.contains(key))
        return;
    m_shown << key;
    m_ui.message(title, text, icon);
}

PreviewWindow::PreviewWindow(Interaction &ui, QWidget *parent)
    : PreviewWindow(*new FormPages, ui, parent)
{
    m_ownPages.reset(m_pages);
}

PreviewWindow::PreviewWindow(FormPages &pages, Interaction &ui, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_pages(&pages)
{
    setObjectName(QStringLiteral("frmGbrmNew"));
    setModal(true);
    // A window of its own, so that the desktop offers to maximise it.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    m_dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    cursorPath = QCoreApplication::applicationDirPath() + QStringLiteral("/资源/H_MOVE.CUR");
    printerChooser = FormPrinter::systemPrinterDialog(this);

    paperViewport = new QWidget(this);
    paperViewport->setObjectName(QStringLiteral("Picture1"));
    paperViewport->setMinimumSize(twipsToPixels(kViewportWidth), twipsToPixels(kViewportHeight));
    paperViewport->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    paperViewport->installEventFilter(this);
    paperViewport->setAutoFillBackground(true);
    QPalette pal = paperViewport->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    paperViewport->setPalette(pal);
    for (int i = 0; i < 2; ++i)
        m_sheet[i] = new PaperPicture(this, i, paperViewport);

    // Ranges follow the zoom and the window's size (layoutPaper).
    auto makeBar = [&](const char *name) {
        auto *bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QLatin1String(name));
        bar->setSingleStep(300);
        return bar;
    };
    pageOneScrollBar = makeBar("VSCROLL1");
    pageTwoScrollBar = makeBar("VSCROLL2");
    connect(pageOneScrollBar, &QScrollBar::valueChanged, this, [this] { scrollPageOne(); });
    connect(pageTwoScrollBar, &QScrollBar::valueChanged, this, [this] { scrollPageTwo(); });
    sidewaysScrollBar = new QScrollBar(Qt::Horizontal, this);
    sidewaysScrollBar->setObjectName(QStringLiteral("sidewaysScrollBar"));
    sidewaysScrollBar->hide();
    connect(sidewaysScrollBar, &QScrollBar::valueChanged, this, [this] {
        setPaperTop(0, m_top[0]);
        setPaperTop(1, m_top[1]);
    });

    buttonFrame = new QFrame(this);
    buttonFrame->setObjectName(QStringLiteral("FRAME1"));
    buttonFrame->setFrameShape(QFrame::StyledPanel);
    auto makeButton = [&](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, buttonFrame);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdPageOne = makeButton(QStringLiteral("cmdPageOne"), QStringLiteral("上页"));
    cmdPageTwo = makeButton(QStringLiteral("cmdPageTwo"), QStringLiteral("下页"));
    cmdPrint = makeButton(QStringLiteral("打印"), QStringLiteral("打印"));
    cmdExportPdf = makeButton(QStringLiteral("cmdExportPdf"), QStringLiteral("导出PDF"));
    cmdExportWord = makeButton(QStringLiteral("cmdExportWord"), QStringLiteral("导出Word"));
    cmdClose = makeButton(QStringLiteral("cmdClose"), QStringLiteral("关闭"));
    chkDefaultB5 = new QCheckBox(QStringLiteral("B5或16开纸打印"), buttonFrame);
    chkDefaultB5->setObjectName(QStringLiteral("chkDefaultB5"));
    zoomBox = new QComboBox(buttonFrame);
    zoomBox->setObjectName(QStringLiteral("zoomBox"));
    zoomBox->setToolTip(QStringLiteral("显示比例（Ctrl+加号放大，Ctrl+减号缩小，Ctrl+0 原大）"));
    for (PreviewZoom::Fit fit : {PreviewZoom::Fit::PageWidth, PreviewZoom::Fit::WholePage})
        zoomBox->addItem(PreviewZoom{fit, 1.0}.label(), PreviewZoom{fit, 1.0}.toSetting());
    for (double s : PreviewZoom::steps())
        zoomBox->addItem(PreviewZoom{PreviewZoom::Fit::None, s}.label(), PreviewZoom{PreviewZoom::Fit::None, s}.toSetting());
    connect(zoomBox, &QComboBox::activated, this,
            [this](int i) { setZoom(PreviewZoom::fromSetting(zoomBox->itemData(i).toString())); });

    auto *frameLayout = new QHBoxLayout(buttonFrame);
    frameLayout->addWidget(cmdPageOne);
    frameLayout->addWidget(cmdPageTwo);
    frameLayout->addSpacing(12);
    frameLayout->addWidget(chkDefaultB5);
    frameLayout->addWidget(cmdPrint);
    frameLayout->addWidget(cmdExportPdf);
    frameLayout->addWidget(cmdExportWord);
    frameLayout->addStretch(1);
    frameLayout->addWidget(zoomBox);
    frameLayout->addWidget(cmdClose);

    auto *view = new QGridLayout;
    view->setSpacing(0);
    view->addWidget(paperViewport, 0, 0);
    view->addWidget(pageOneScrollBar, 0, 1);
    view->addWidget(pageTwoScrollBar, 0, 2);
    view->addWidget(sidewaysScrollBar, 1, 0);
    auto *main = new QVBoxLayout(this);
    main->addLayout(view, 1);
    main->addWidget(buttonFrame);
    // The first opening shows the viewport at its old fixed size; after
    // that the window can be made as small as its buttons allow.
    m_naturalSize = sizeHint();
    paperViewport->setMinimumSize(twipsToPixels(1440), twipsToPixels(1440));

    // Keys of the window, whichever of its controls has the focus.
    auto addKeys = [this](const QList<QKeySequence> &keys, std::function<void()> act) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, std::move(act));
        addAction(action);
    };
    addKeys({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] { zoomIn(); });
    addKeys({QKeySequence::ZoomOut}, [this] { zoomOut(); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { setZoom(PreviewZoom()); });
    auto pageBar = [this] { return cmdPageTwo->isEnabled() ? pageOneScrollBar : pageTwoScrollBar; };
    addKeys({QKeySequence(Qt::Key_PageDown)}, [pageBar] { pageBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); });
    addKeys({QKeySequence(Qt::Key_PageUp)}, [pageBar] { pageBar()->triggerAction(QAbstractSlider::SliderPageStepSub); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, [this] { showPageTwo(); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, [this] { showPageOne(); });

    connect(cmdPageOne, &QPushButton::clicked, this, [this] { showPageOne(); });
    connect(cmdPageTwo, &QPushButton::clicked, this, [this] { showPageTwo(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { printPages(); });
    connect(cmdExportPdf, &QPushButton::clicked, this, [this] { exportPdf(); });
    connect(cmdExportWord, &QPushButton::clicked, this, [this] { exportWord(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });

    showPageOne();
    WindowPlacement::keepCentred(this);
    resize(m_naturalSize);
    layoutPaper();
}

PreviewWindow::~PreviewWindow()
{
    if (m_overrideCursor)
        QGuiApplication::restoreOverrideCursor();
}

int PreviewWindow::twipsToPixels(double twips) const
{
    return ::twipsToPixels(twips, m_dpi);
}

double PreviewWindow::pixelsToTwips(double pixels) const
{
    return ::pixelsToTwips(pixels, m_dpi);
}

QWidget *PreviewWindow::paper(int index) const
{
    return (index == 0 || index == 1) ? m_sheet[index] : nullptr;
}

int PreviewWindow::showModal()
{
    setUp();
    restoreWindow();
    return exec();
}

// The size and zoom it was left at, within the screen, centred on the
// entry window.
void PreviewWindow::restoreWindow()
{
    const PreviewSettings stored = PreviewSettings::load();
    setZoom(PreviewZoom::fromSetting(stored.zoom));
    setWindowState(windowState() & ~Qt::WindowMaximized);
    resize(WindowPlacement::boundedSize(stored.size.isValid() ? stored.size : m_naturalSize, this));
    WindowPlacement::centre(this);   // where it comes back to from maximised
    if (stored.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void PreviewWindow::storeWindow()
{
    PreviewSettings s;
    s.maximized = isMaximized();
    s.size = s.maximized ? normalGeometry().size() : size();
    s.zoom = m_zoom.toSetting();
    s.store();   // a store that cannot be written leaves the next opening at the old size
}

double PreviewWindow::zoomScale() const
{
    return m_zoom.scale;
}

void PreviewWindow::setZoom(PreviewZoom zoom)
{
    m_zoom = zoom;
    m_zoom.scale = qBound(PreviewZoom::kMinScale / 2, m_zoom.scale, PreviewZoom::kMaxScale);
    layoutPaper();
}

void PreviewWindow::zoomIn()
{
    setZoom({PreviewZoom::Fit::None, PreviewZoom::nextStep(zoomScale(), +1)});
}

void PreviewWindow::zoomOut()
{
    setZoom({PreviewZoom::Fit::None, PreviewZoom::nextStep(zoomScale(), -1)});
}

// Sizes the sheets for the zoom and the viewport, and sets the scroll
// ranges so that the whole sheet, with the gap above it below it too, can
// be brought into view.
void PreviewWindow::layoutPaper()
{
    const QSizeF viewport(pixelsToTwips(paperViewport->width()), pixelsToTwips(paperViewport->height()));
    if (m_zoom.fit != PreviewZoom::Fit::None)
        m_zoom.scale = PreviewZoom::fitScale(m_zoom.fit, QSizeF(kPaperWidth, kPaperHeight), viewport, kPaperTopAtZero);
    const double s = m_zoom.scale;
    const QSize sheet(::twipsToPixels(kPaperWidth, m_dpi * s), ::twipsToPixels(kPaperHeight, m_dpi * s));
    for (int i = 0; i < 2; ++i) {
        if (m_sheet[i]->size() != sheet)
            m_sheet[i]->resize(sheet);
    }
    const double visible = viewport.height() / s;   // twips of the sheet
    const int maxValue = qMax(0, qRound(kPaperHeight + 2 * kPaperTopAtZero - visible));
    for (QScrollBar *bar : {pageOneScrollBar, pageTwoScrollBar}) {
        bar->setRange(0, maxValue);
        bar->setPageStep(qMax(1, int(visible * 0.9)));
    }
    const int sideGap = ::twipsToPixels(PreviewZoom::kSideGap, m_dpi * s);
    // A pixel or two over, from rounding at page width, needs no bar.
    int wider = sheet.width() + 2 * sideGap - paperViewport->width();
    if (wider <= 2)
        wider = 0;
    sidewaysScrollBar->setRange(0, qMax(0, wider));
    sidewaysScrollBar->setPageStep(qMax(1, paperViewport->width() * 9 / 10));
    sidewaysScrollBar->setSingleStep(qMax(1, twipsToPixels(300)));
    if ((wider > 0) != sidewaysScrollBar->isVisibleTo(this)) {
        sidewaysScrollBar->setVisible(wider > 0);
        sidewaysScrollBar->setValue(qMax(0, wider) / 2);
    }
    setPaperTop(0, kPaperTopAtZero - pageOneScrollBar->value());
    setPaperTop(1, kPaperTopAtZero - pageTwoScrollBar->value());

    zoomBox->setCurrentIndex(zoomBox->findData(m_zoom.toSetting()));
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == paperViewport && event->type() == QEvent::Resize)
        layoutPaper();
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::setUp()
{
    m_unloaded = false;
    m_drawingUi.forgetShown();
    chkDefaultB5->setChecked(false);   // each preview starts afresh, B5 unticked
    drawAndShowPage(0);
    unsetCursor();
}

void PreviewWindow::drawAndShowPage(int)
{
    cmdPageOne->hide();
    cmdPageOne->setEnabled(false);
    pageTwoScrollBar->hide();
    m_sheet[1]->hide();
    // Each opening starts at the top of the sheet.
    pageOneScrollBar->setValue(0);
    pageTwoScrollBar->setValue(0);
    setPaperTop(0, kPaperTopAtZero);
    setPaperTop(1, kPaperTopAtZero);
    showPageOne();
    drawPaper(0);
    drawPaper(1);
}

void PreviewWindow::drawPaper(int index)
{
    // Drawn once into a persistent image; switching and scrolling reuse it.
    m_paper[index] = renderPaper(index, 1.0, &m_drawingUi);
    m_zoomed[index] = QImage();
    m_zoomedScale[index] = 0;
    m_sheet[index]->update();
}

const QImage &PreviewWindow::shownImage(int index)
{
    if (m_zoom.scale == 1.0 || m_paper[index].isNull())
        return m_paper[index];
    // Another zoom: drawn afresh for sharp lines and text, without the
    // messages, which the drawing at 100 % has shown.
    if (m_zoomedScale[index] != m_zoom.scale) {
        m_zoomed[index] = renderPaper(index, m_zoom.scale, nullptr);
        m_zoomedScale[index] = m_zoom.scale;
    }
    return m_zoomed[index];
}

QImage PreviewWindow::renderPaper(int index, double scale, Interaction *ui) const
{
    const double dpi = m_dpi * scale;
    // It has the screen's own pixels: on a scaled screen the paper is drawn
    // at the finer resolution, not enlarged afterwards.
    const double ratio = devicePixelRatioF();
    QImage image(QSize(::twipsToPixels(kPaperWidth, dpi), ::twipsToPixels(kPaperHeight, dpi)) * ratio,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    const int dotsPerMeter = int(std::lround(dpi * ratio / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    CollectedMessages raised;
    {
        QPainter painter(&image);
        PainterSurface surface(&painter, dpi);
        surface.setInteraction(&raised);
        DocumentRender::drawPage(*m_pages, surface, index + 1);
    }
    if (ui)
        raised.showTo(*ui);
    return image;
}

void PreviewWindow::setPaperTop(int index, double top)
{
    m_top[index] = top;
    // Centred across the viewport, or from the sideways bar when wider.
    const int spare = paperViewport->width() - m_sheet[index]->width();
    const int left = sidewaysScrollBar->maximum() > 0
        ? ::twipsToPixels(PreviewZoom::kSideGap, m_dpi * m_zoom.scale) - sidewaysScrollBar->value()
        : spare / 2;
    m_sheet[index]->move(left, ::twipsToPixels(top, m_dpi * m_zoom.scale));
}

void PreviewWindow::showPageOne()
{
    showPage(0);
}

void PreviewWindow::showPageTwo()
{
    showPage(1);
}

// One page's paper and scroll bar at a time; the button leads to the other.
void PreviewWindow::showPage(int index)
{
    const bool two = index == 1;
    m_sheet[0]->setVisible(!two);
    m_sheet[1]->setVisible(two);
    pageOneScrollBar->setVisible(!two);
    pageTwoScrollBar->setVisible(two);
    cmdPageOne->setVisible(two);
    cmdPageOne->setEnabled(two);
    cmdPageTwo->setVisible(!two);
    cmdPageTwo->setEnabled(!two);
    setWindowTitle(two ? QStringLiteral("干部任免审批表第二页") : QStringLiteral("干部任免审批表第一页"));
}

void PreviewWindow::scrollPageOne()
{
    setPaperTop(0, kPaperTopAtZero - pageOneScrollBar->value());
}

void PreviewWindow::scrollPageTwo()
{
    setPaperTop(1, kPaperTopAtZero - pageTwoScrollBar->value());
}

void PreviewWindow::startPaperDrag(double y)
{
    QCursor cursor;
    if (!loadCursorFile(cursorPath, &cursor)) {
        // Without its cursor the paper does not move: a stale start point
        // would make the sheet jump on the next move.
        m_dragging = false;
        m_ui.message(QStringLiteral("系统警告"),
                     QStringLiteral("没有对应的鼠标光标，程序可继续运行。但不能拖动纸张来查看内容！"),
                     MessageIcon::Critical);
        return;
    }
    if (m_overrideCursor)
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
    m_overrideCursor = true;
    m_dragStartY = y;
    m_dragging = true;
}

void PreviewWindow::dragPaper(int index, Qt::MouseButtons buttons, double y)
{
    // The left button alone moves the paper.
    if (buttons != Qt::LeftButton || !m_dragging || (index != 0 && index != 1))
        return;
    setPaperTop(index, m_top[index] + y - m_dragStartY);
}

void PreviewWindow::endPaperDrag()
{
    m_dragging = false;
    if (m_overrideCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_overrideCursor = false;
    }
}

int PreviewWindow::printPages()
{
    return FormPrinter::print(*m_pages, m_ui, chkDefaultB5->isChecked(), printerChooser, &m_drawingUi);
}

bool PreviewWindow::exportPdf()
{
    return exportFile(false);
}

bool PreviewWindow::exportWord()
{
    return exportFile(true);
}

bool PreviewWindow::exportFile(bool word)
{
    const QString caption = word ? QStringLiteral("导出Word") : QStringLiteral("导出PDF");
    // Offer the cadre's name in the folder of the last export.
    QString name = trimSpaces(m_pages->name);
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("干部任免审批表");
    const QString folder = m_exportFolder.isEmpty() ? QDir::currentPath() : m_exportFolder;
    QString path = m_ui.saveFileName(
        caption, QDir(folder).filePath(name + (word ? QStringLiteral(".docx") : QStringLiteral(".pdf"))),
        word ? QStringLiteral("Word文档 (*.docx)|*.docx") : QStringLiteral("PDF 文件 (.pdf)|*.pdf"));
    if (path.isEmpty())
        return false;
    path = word ? ReplaceQuestion::docxPath(path) : ReplaceQuestion::pdfPath(path);
    bool replaceReadOnly = false;
    if (!ReplaceQuestion::confirm(m_ui, caption, path, &replaceReadOnly))
        return false;
    // The same routines as the command line's, so the files agree.
    CollectedMessages raised;
    const Result<> written =
        word ? WordDocument::writeDocx(path, {{m_pages, &raised}}, DocumentRender::Pages::Both,
                                         DocumentRender::Paper::B5, replaceReadOnly)
             : DocumentRender::writePdf(path, {{m_pages, &raised}}, DocumentRender::Pages::Both,
                                        DocumentRender::Paper::B5, replaceReadOnly);
    raised.showTo(m_drawingUi);
    if (!written) {
        showFailure(m_ui, written);
        return false;
    }
    m_exportFolder = QFileInfo(path).absolutePath();
    return true;
}

void PreviewWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    endPaperDrag();
    if (onUnload)
        onUnload();
}

void PreviewWindow::wheelEvent(QWheelEvent *event)
{
    // With Ctrl the wheel zooms, a step per notch.
    if (event->modifiers() & Qt::ControlModifier) {
        m_wheelZoom += event->angleDelta().y();
        for (; m_wheelZoom >= 120; m_wheelZoom -= 120)
            zoomIn();
        for (; m_wheelZoom <= -120; m_wheelZoom += 120)
            zoomOut();
        event->accept();
        return;
    }
    // The wheel anywhere over the window scrolls the paper shown.
    QScrollBar *bar = pageOneScrollBar->isVisible() ? pageOneScrollBar : pageTwoScrollBar;
    if (bar->isVisible()) {
        QCoreApplication::sendEvent(bar, event);
        return;
    }
    QDialog::wheelEvent(event);
}

void PreviewWindow::done(int result)
{
    if (isVisible())
        storeWindow();
    unload();
    QDialog::done(result);
}
