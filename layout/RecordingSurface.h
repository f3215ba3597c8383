#pragma once
#include "layout/DrawingSurface.h"
#include <QImage>
#include <QList>
#include <functional>

// Keeps every drawing operation in order instead of painting: for tests and
// for the command line's display list.
class RecordingSurface : public DrawingSurface {
public:
    struct Op {
        enum Kind { Page, Text, Line, Picture, Message } kind = Text;
        double x = 0, y = 0;     // text position, line start, picture corner
        double x2 = 0, y2 = 0;   // line end; picture width and height
        QString font;            // text: typeface as set on the surface
        double size = 0;         // text: size in points
        double width = 0;        // line: pen width in twips
        int page = 0;            // page marker
        QString title;           // message
        QString text;            // text, message text
        MessageIcon icon = MessageIcon::None;
        QImage image;            // picture, when kept
    };

    // Keeps the pictures themselves too, so that the recording can be
    // replayed onto another surface.
    void setKeepPictures(bool keep) { m_keepPictures = keep; }
    // Draws the recorded operations onto `target` (messages excepted: they
    // were raised when the recording was made). `onPage` is called at each
    // page marker with its number and may switch `target`'s page.
    void replay(DrawingSurface &target, const std::function<void(int page)> &onPage = {}) const;

    // Marks the start of page n in the list.
    void beginPage(int n);
    const QList<Op> &ops() const { return m_ops; }
    void clear() { m_ops.clear(); }

    QList<Op> ofKind(Op::Kind kind) const;
    QList<Op> texts() const { return ofKind(Op::Text); }
    QList<Op> messages() const { return ofKind(Op::Message); }

    // One operation per line, fields separated by tabs:
    //   page N | text X Y FONT SIZE TEXT | line X1 Y1 X2 Y2 WIDTH |
    //   picture X Y W H | message TITLE TEXT
    QString displayList() const;
    static QString formatOp(const Op &op);
    // Whole numbers without a point, others with at most four decimals.
    static QString formatNumber(double v);
    // Backslash, tab, CR and LF written as \\, \t, \r, \n.
    static QString escapeField(const QString &s);

    void drawText(double x, double y, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawPicture(const QImage &picture, double x, double y, double w, double h) override;

protected:
    void recordMessage(const Failure &message) override;

private:
    QList<Op> m_ops;
    bool m_keepPictures = false;
};
