#pragma once
#include <QWidget>

// One entry page: a sheet that draws the form's labels and cell lines
// behind its entry boxes. Sizes are kept in twips; pixels follow the
// screen's logical resolution.
class EntryPage : public QWidget {
    Q_OBJECT
public:
    EntryPage(int pageNumber, QWidget *parent);

    int pageNumber() const { return m_page; }
    double heightTwips() const { return m_heightTwips; }
    void setSizeTwips(double width, double height);
    double widthTwips() const { return m_widthTwips; }

    // Twips to pixels at this widget's logical resolution.
    int px(double twips) const;
    int py(double twips) const;
    QRect toPixels(const QRectF &twips) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_page;
    double m_widthTwips = 0;
    double m_heightTwips = 0;
};
