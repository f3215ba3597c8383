#include "windows/MarginDialog.h"
#include "record/MarginInput.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MarginDialog::MarginDialog(PageMargins &margins, Interaction &ui, QWidget *parent)
    : QDialog(parent), m_margins(margins), m_ui(ui)
{
    setObjectName(QStringLiteral("frmYBj"));
    setWindowTitle(QStringLiteral("设定页边距"));
    setModal(true);

    auto makeBox = [this](const char *name) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setAlignment(Qt::AlignRight);
        return box;
    };
    txtTop = makeBox("txtTop");
    txtLeft = makeBox("txtLeft");
    txtBackLeft = makeBox("txtBackLeft");

    cmdModify = new QPushButton(QStringLiteral("修改"), this);
    cmdModify->setObjectName(QStringLiteral("cmdModify"));
    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("上边距(mm)"), this), 0, 0);
    grid->addWidget(txtTop, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("第一页左边距(mm)"), this), 1, 0);
    grid->addWidget(txtLeft, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("第二页左边距(mm)"), this), 2, 0);
    grid->addWidget(txtBackLeft, 2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdModify);
    buttons->addWidget(cmdOk);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(cmdModify, &QPushButton::clicked, this, &MarginDialog::allowEditing);
    connect(cmdOk, &QPushButton::clicked, this, &MarginDialog::applyMargins);

    showCurrentValues();
}

void MarginDialog::showCurrentValues()
{
    txtTop->setText(QString::number(MarginInput::shownMillimetres(m_margins.top)));
    txtLeft->setText(QString::number(MarginInput::shownMillimetres(m_margins.pageOneLeft)));
    txtBackLeft->setText(QString::number(MarginInput::shownMillimetres(m_margins.pageTwoLeft)));
    txtTop->setEnabled(false);
    txtLeft->setEnabled(false);
    txtBackLeft->setEnabled(false);
    cmdModify->setEnabled(true);
}

// Each opening shows the margins as they are now.
void MarginDialog::showEvent(QShowEvent *event)
{
    showCurrentValues();
    QDialog::showEvent(event);
}

void MarginDialog::allowEditing()
{
    txtTop->setEnabled(true);
    txtLeft->setEnabled(true);
    txtBackLeft->setEnabled(true);
    cmdModify->setEnabled(false);
}

void MarginDialog::applyMargins()
{
    MarginInput::Box refused = MarginInput::Box::Top;
    const Result<MarginInput::Accepted> checked =
        MarginInput::check(txtTop->text(), txtLeft->text(), txtBackLeft->text(), &refused);
    if (!checked) {
        QLineEdit *const boxes[] = {txtTop, txtLeft, txtBackLeft};
        boxes[static_cast<int>(refused)]->setFocus();
        showFailure(m_ui, checked);
        return;
    }
    const MarginInput::Accepted &r = checked.value();
    txtTop->setText(r.topText);
    txtLeft->setText(r.leftText);
    txtBackLeft->setText(r.backLeftText);
    MarginInput::apply(r, m_margins);
    accept();
}
