#include "windows/EntryBox.h"
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

EntryBox::EntryBox(bool keepsLineBreaks, QWidget *parent)
    : QPlainTextEdit(parent), m_keepsLineBreaks(keepsLineBreaks)
{
}

void EntryBox::setGuide(int pixels)
{
    if (pixels == m_guide)
        return;
    m_guide = pixels;
    viewport()->update();
}

void EntryBox::setOverflow(const QString &why)
{
    if (why == m_overflow)
        return;
    m_overflow = why;
    setToolTip(why);
    viewport()->update();
}

void EntryBox::insertFromMimeData(const QMimeData *source)
{
    if (m_keepsLineBreaks || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    for (QChar &c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    insertPlainText(text);
}

void EntryBox::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (m_guide < 0 && m_overflow.isEmpty())
        return;
    QPainter p(viewport());
    if (m_guide >= 0) {
        const int x = int(contentOffset().x() + document()->documentMargin()) + m_guide;
        p.setPen(QPen(QColor(90, 120, 200, 110), 1, Qt::DashLine));
        p.drawLine(x, 0, x, viewport()->height());
    }
    if (!m_overflow.isEmpty()) {
        p.setPen(QPen(QColor(220, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
    }
}
