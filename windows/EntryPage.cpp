#include "windows/EntryPage.h"
#include "windows/EntryLayout.h"
#include "windows/FormFont.h"

#include <QPainter>
#include "foundation/Twips.h"

EntryPage::EntryPage(int pageNumber, QWidget *parent)
    : QWidget(parent), m_page(pageNumber)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

int EntryPage::px(double twips) const
{
    return twipsToPixels(twips, logicalDpiX());
}

int EntryPage::py(double twips) const
{
    return twipsToPixels(twips, logicalDpiY());
}

QRect EntryPage::toPixels(const QRectF &t) const
{
    return QRect(px(t.left()), py(t.top()), px(t.width()), py(t.height()));
}

void EntryPage::setSizeTwips(double width, double height)
{
    m_widthTwips = width;
    m_heightTwips = height;
    resize(px(width), py(height));
}

void EntryPage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    for (const QLineF &l : EntryLayout::lines(m_page))
        p.drawLine(px(l.x1()), py(l.y1()), px(l.x2()), py(l.y2()));
    for (const EntryLayout::Label &label : EntryLayout::labels(m_page)) {
        p.setFont(songtiFont(label.points));
        p.drawText(toPixels(label.rect), Qt::AlignCenter, label.text);
    }
}
