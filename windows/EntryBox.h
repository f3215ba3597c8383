#pragma once
#include <QPlainTextEdit>

// One entry box of the form. A box for a one-line field takes no line
// breaks: pasted or dropped ones are left out (the window turns Enter into
// a move to the next field). It can show a faint guide where the printed
// line ends, and a red frame when its text cannot fit its printed cell.
class EntryBox : public QPlainTextEdit {
    Q_OBJECT
public:
    EntryBox(bool keepsLineBreaks, QWidget *parent);

    bool keepsLineBreaks() const { return m_keepsLineBreaks; }
    // Pixels from the text's left edge; negative: no guide.
    void setGuide(int pixels);
    int guide() const { return m_guide; }
    // Why the text does not fit its printed cell; empty when it does.
    void setOverflow(const QString &why);
    QString overflow() const { return m_overflow; }

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_keepsLineBreaks;
    int m_guide = -1;
    QString m_overflow;
};
