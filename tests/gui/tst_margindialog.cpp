#include "support/GuiTestSupport.h"
#include "windows/MarginDialog.h"
#include <QLineEdit>

class TestMarginDialog : public QObject {
    Q_OBJECT
    static QStringList texts(const MarginDialog &d) { return {d.txtTop->text(), d.txtLeft->text(), d.txtBackLeft->text()}; }
    static bool locked(const MarginDialog &d)
    {
        return !d.txtTop->isEnabled() && !d.txtLeft->isEnabled() && !d.txtBackLeft->isEnabled() && d.cmdModify->isEnabled();
    }
private slots:
    void checksConvertsAndStores()
    {
        PageMargins m;
        ScriptedInteraction ui;
        MarginDialog d(m, ui);
        d.show();
        QVERIFY(d.objectName() == QStringLiteral("frmYBj") && d.windowTitle() == QStringLiteral("设定页边距"));
        QVERIFY(texts(d) == QStringList({"20", "15", "9"}) && locked(d));   // 1134, 850, 510 twips
        d.cmdModify->click();
        QVERIFY(d.txtTop->isEnabled() && d.txtLeft->isEnabled() && d.txtBackLeft->isEnabled() && !d.cmdModify->isEnabled());
        d.txtTop->setText(QStringLiteral("25"));
        d.reject();   // the close box changes nothing
        d.show();
        QVERIFY(m.top == 1134 && texts(d)[0] == QStringLiteral("20") && locked(d));

        d.cmdModify->click();
        d.txtTop->setText(QStringLiteral("32"));
        d.txtLeft->setText(QStringLiteral("10"));
        d.cmdOk->click();
        QVERIFY(ui.shown.size() == 1 && ui.shown[0].title == QStringLiteral("提示") && ui.shown[0].icon == MessageIcon::None);
        QVERIFY(d.isVisible() && d.focusWidget() == d.txtTop);
        QVERIFY(m.top == 1134 && m.pageOneLeft == 850);   // nothing changes until every check passes
        d.txtTop->setText(QStringLiteral("20"));
        d.txtBackLeft->setText(QStringLiteral("x"));
        d.cmdOk->click();
        QVERIFY(ui.messageTexts().last() == QStringLiteral("请输入整数值") && d.focusWidget() == d.txtBackLeft);

        d.txtTop->setText(QStringLiteral("15.9"));
        d.txtLeft->setText(QStringLiteral("-3"));
        d.txtBackLeft->setText(QStringLiteral("31"));
        d.cmdOk->click();
        QVERIFY(ui.shown.size() == 2 && d.result() == QDialog::Accepted);
        QVERIFY(m.top == 850 && m.pageOneLeft == -170 && m.pageTwoLeft == 1758);
        d.show();   // opened again: the new values, locked
        QVERIFY(texts(d) == QStringList({"15", "-3", "31"}) && locked(d));
    }
};

QTEST_MAIN(TestMarginDialog)
#include "tst_margindialog.moc"
