#pragma once
// Helpers and includes shared by the window tests. Header only: every test
// executable compiles support/*.cpp, and most of them link no widgets.
#include "foundation/Settings.h"
#include "pages/FormPages.h"
#include "windows/EntryBox.h"
#include "windows/EntryCommands.h"
#include "windows/EntryPage.h"
#include "windows/EntryWindow.h"
#include "windows/PreviewWindow.h"
#include "support/DocumentTestSupport.h"
#include "support/PdfTestSupport.h"
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace GuiTest {

using namespace PdfTest;

// Settings go to a folder of this test process alone, never to the user's
// own store nor to one shared with tests running beside it; call before
// anything opens a settings store.
inline void isolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir dir;
    Settings::useScratchFolder(dir.path());
}

// A sample document and its photo copied into `folder`: an editor that
// opens it locks it, and tests running beside each other must not meet in
// one folder.
inline QString sampleCopy(const QString &folder, const QString &name)
{
    const QString base = name.chopped(4);
    for (const QString &file : {name, base + QStringLiteral(".pic")}) {
        QFile::remove(folder + QLatin1Char('/') + file);
        QFile::copy(QStringLiteral(AF_SOURCE_DIR "/samples/") + file, folder + QLatin1Char('/') + file);
    }
    return folder + QLatin1Char('/') + name;
}

// Types any text, one key event per character (keyClicks knows ASCII only).
inline void typeKeys(QWidget *target, const QString &text)
{
    for (QChar ch : text)
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(t, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &e);
        }
}

// The form's box named "txtName" or "txtcsrq#4" (row 4 of a family
// column); anything after "=" is the text meant for it.
inline QPlainTextEdit *formBox(const EntryWindow &w, const QString &selector)
{
    const QString key = selector.section(QLatin1Char('='), 0, 0);
    return w.control(key.section(QLatin1Char('#'), 0, 0),
                     key.contains(QLatin1Char('#')) ? key.section(QLatin1Char('#'), 1).toInt() : -1);
}

// Runs `act` on the next modal dialog once it is open (looking for it for
// up to two seconds). Each look schedules the next: nothing holds itself,
// so nothing is left behind once a dialog is found or the time is up; a
// newer call supersedes a look still waiting for a dialog that never came.
// Always a real timer: a zero-time one is a posted event, and events the
// dialog posts meanwhile would wait until `act` returns.
inline void onNextModal(const std::function<void(QWidget *)> &act, int look = 0, int triesLeft = 200)
{
    static int latest = 0;
    if (look == 0)
        look = ++latest;
    QTimer::singleShot(10, [act, look, triesLeft] {
        if (look != latest)
            return;
        if (QWidget *modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 1)
            onNextModal(act, look, triesLeft - 1);
    });
}

inline bool showActive(QWidget *w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

inline void fillSample(FormPages &p)
{
    p.name = QStringLiteral("李红");
    p.sex = QStringLiteral("女");
    p.birthDate = QStringLiteral("1975.11");
    p.currentPosts = QStringLiteral("某某区教育局局长");
    p.resume = QStringLiteral("1993.09--1997.07  某某师范大学中文系学习\r\n1997.08--2005.03  某某中学教师");
    p.reportingUnit = QStringLiteral("中共某某区委");
    p.ageReferenceDate = QStringLiteral("20240101");
    p.fillingDate = QStringLiteral("20240315");
}

inline void setUpSample(PreviewWindow &w)
{
    fillSample(w.pages());
    w.setUp();
}

// A chooser that prints into a PDF file instead of asking for a printer.
inline std::function<bool(QPrinter &)> pdfPrinter(const QString &file, bool accept = true)
{
    return [file, accept](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        return accept;
    };
}

// The words of one page that differ in text or place between two PDF
// files, as "old→new" (a missing word is empty).
inline QStringList wordDifferences(const QString &a, const QString &b, int page)
{
    const QList<Word> x = pdfWords(a, page), y = pdfWords(b, page);
    QStringList out;
    for (qsizetype i = 0; i < qMax(x.size(), y.size()); ++i) {
        const Word u = x.value(i), v = y.value(i);
        if (u.text != v.text || u.x != v.x || u.y != v.y)
            out << u.text + QStringLiteral("→") + v.text;
    }
    return out;
}

} // namespace GuiTest
