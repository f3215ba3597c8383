#include "layout/RecordingSurface.h"

void RecordingSurface::beginPage(int n)
{
    Op op;
    op.kind = Op::Page;
    op.page = n;
    m_ops.append(op);
}

void RecordingSurface::drawText(double x, double y, const QString &text)
{
    Op op;
    op.kind = Op::Text;
    op.x = x;
    op.y = y;
    op.font = fontName();
    op.size = fontSize();
    op.text = text;
    m_ops.append(op);
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2)
{
    Op op;
    op.kind = Op::Line;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.width = penWidth();
    m_ops.append(op);
}

void RecordingSurface::drawPicture(const QImage &picture, double x, double y, double w, double h)
{
    Op op;
    if (m_keepPictures)
        op.image = picture;
    op.kind = Op::Picture;
    op.x = x;
    op.y = y;
    op.x2 = w;
    op.y2 = h;
    m_ops.append(op);
}

void RecordingSurface::recordMessage(const Failure &message)
{
    const FailureLook look = failureLook(message.kind);
    Op op;
    op.kind = Op::Message;
    op.title = look.title;
    op.text = message.message;
    op.icon = look.icon;
    m_ops.append(op);
}

QList<RecordingSurface::Op> RecordingSurface::ofKind(Op::Kind kind) const
{
    QList<Op> out;
    for (const Op &op : m_ops)
        if (op.kind == kind)
            out.append(op);
    return out;
}

QString RecordingSurface::formatNumber(double v)
{
    QString s = QString::number(v, 'f', 4);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString RecordingSurface::escapeField(const QString &s)
{
    QString out;
    out.reserve(s.size() + 8);
    for (QChar c : s) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\n': out += QLatin1String("\\n"); break;
        default: out += c;
        }
    }
    return out;
}

QString RecordingSurface::formatOp(const Op &op)
{
    const QChar tab = QLatin1Char('\t');
    switch (op.kind) {
    case Op::Page:
        return QStringLiteral("page") + tab + QString::number(op.page);
    case Op::Text:
        return QStringLiteral("text") + tab + formatNumber(op.x) + tab + formatNumber(op.y) + tab
               + escapeField(op.font) + tab + formatNumber(op.size) + tab + escapeField(op.text);
    case Op::Line:
        return QStringLiteral("line") + tab + formatNumber(op.x) + tab + formatNumber(op.y) + tab
               + formatNumber(op.x2) + tab + formatNumber(op.y2) + tab + formatNumber(op.width);
    case Op::Picture:
        return QStringLiteral("picture") + tab + formatNumber(op.x) + tab + formatNumber(op.y) + tab
               + formatNumber(op.x2) + tab + formatNumber(op.y2);
    case Op::Message:
        return QStringLiteral("message") + tab + escapeField(op.title) + tab + escapeField(op.text);
    }
    return {};
}

QString RecordingSurface::displayList() const
{
    QString out;
    for (const Op &op : m_ops) {
        out += formatOp(op);
        out += QLatin1Char('\n');
    }
    return out;
}

void RecordingSurface::replay(DrawingSurface &target, const std::function<void(int)> &onPage) const
{
    for (const Op &op : m_ops) {
        switch (op.kind) {
        case Op::Page:
            if (onPage)
                onPage(op.page);
            break;
        case Op::Text:
            target.setFontName(op.font);
            target.setFontSize(op.size);
            target.drawText(op.x, op.y, op.text);
            break;
        case Op::Line:
            target.setPenWidth(op.width);
            target.drawLine(op.x, op.y, op.x2, op.y2);
            break;
        case Op::Picture:
            target.drawPicture(op.image, op.x, op.y, op.x2, op.y2);
            break;
        case Op::Message:
            break;
        }
    }
}
