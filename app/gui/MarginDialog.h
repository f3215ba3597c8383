#pragma once
#include "app/Interaction.h"
#include "render/PageMargins.h"
#include <QDialog>

class QLineEdit;
class QPushButton;

// "设定页边距": the three margins in whole millimetres. Opens read-only;
// "修改" unlocks the boxes, "确定" checks, stores into the margins and
// closes. The close box leaves everything unchanged.
class MarginDialog : public QDialog {
    Q_OBJECT
public:
    MarginDialog(PageMargins &margins, Interaction &ui, QWidget *parent = nullptr);

    QLineEdit *txtTop;
    QLineEdit *txtLeft;
    QLineEdit *txtBackLeft;
    QPushButton *cmdModify;
    QPushButton *cmdOk;

    // Shows the current margins again, boxes locked.
    void showCurrentValues();

public slots:
    void allowEditing();
    void applyMargins();

protected:
    void showEvent(QShowEvent *event) override;

private:
    PageMargins &m_margins;
    Interaction &m_ui;
};
