#include "app/ScriptedInteraction.h"
#include "app/gui/MarginDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestMarginDialog : public QObject {
    Q_OBJECT
private slots:
    void opensLockedWithTheCurrentValues()
    {
        PageMargins m;
        ScriptedInteraction ui;
        MarginDialog d(m, ui);
        QCOMPARE(d.objectName(), QStringLiteral("frmYBj"));
        QCOMPARE(d.windowTitle(), QStringLiteral("设定页边距"));
        QCOMPARE(d.txtTop->text(), QStringLiteral("20"));
        QCOMPARE(d.txtLeft->text(), QStringLiteral("15"));
        QCOMPARE(d.txtBackLeft->text(), QStringLiteral("9"));
        QVERIFY(!d.txtTop->isEnabled() && !d.txtLeft->isEnabled() && !d.txtBackLeft->isEnabled());
        QVERIFY(d.cmdModify->isEnabled());
        QCOMPARE(d.cmdModify->text(), QStringLiteral("修改"));
        QCOMPARE(d.cmdOk->text(), QStringLiteral("确定"));

        d.cmdModify->click();
        QVERIFY(d.txtTop->isEnabled() && d.txtLeft->isEnabled() && d.txtBackLeft->isEnabled());
        QVERIFY(!d.cmdModify->isEnabled());
    }

    void refusesAndStaysOpen()
    {
        PageMargins m;
        ScriptedInteraction ui;
        MarginDialog d(m, ui);
        d.show();
        d.cmdModify->click();
        d.txtTop->setText(QStringLiteral("32"));
        d.txtLeft->setText(QStringLiteral("10"));
        d.cmdOk->click();
        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(ui.shown[0].title, QStringLiteral("提示"));
        QCOMPARE(ui.shown[0].icon, MessageIcon::None);
        QVERIFY(ui.shown[0].text.startsWith(QStringLiteral("下边距不能小于20")));
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), d.txtTop);
        QCOMPARE(m.T, 1134);
        QCOMPARE(m.L, 850);   // nothing changes until every check passes

        d.txtTop->setText(QStringLiteral("20"));
        d.txtBackLeft->setText(QStringLiteral("x"));
        d.cmdOk->click();
        QCOMPARE(ui.messageTexts().last(), QStringLiteral("请输入整数值"));
        QCOMPARE(d.focusWidget(), d.txtBackLeft);
    }

    void acceptsAndConverts()
    {
        PageMargins m;
        ScriptedInteraction ui;
        MarginDialog d(m, ui);
        d.show();
        d.cmdModify->click();
        d.txtTop->setText(QStringLiteral("15.9"));
        d.txtLeft->setText(QStringLiteral("-3"));
        d.txtBackLeft->setText(QStringLiteral("31"));
        d.cmdOk->click();
        QVERIFY(ui.shown.isEmpty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.txtTop->text(), QStringLiteral("15"));
        QCOMPARE(m.T, 850);
        QCOMPARE(m.L, -170);
        QCOMPARE(m.B, 1758);

        // opened again, it shows the new values, locked
        d.show();
        QCOMPARE(d.txtTop->text(), QStringLiteral("15"));
        QCOMPARE(d.txtLeft->text(), QStringLiteral("-3"));
        QVERIFY(!d.txtTop->isEnabled());
    }

    void closeBoxChangesNothing()
    {
        PageMargins m;
        ScriptedInteraction ui;
        MarginDialog d(m, ui);
        d.show();
        d.cmdModify->click();
        d.txtTop->setText(QStringLiteral("25"));
        d.reject();
        QCOMPARE(m.T, 1134);
    }
};

QTEST_MAIN(TestMarginDialog)
#include "tst_margindialog.moc"
