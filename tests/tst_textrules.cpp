#include "app/Clock.h"
#include "layout/TextRules.h"
#include <QtTest>

class TstTextRules : public QObject {
    Q_OBJECT
private slots:
    void dotDate()
    {
        QCOMPARE(DotDate(QStringLiteral("19580312")), QStringLiteral("1958.03"));
        QCOMPARE(DotDate(QStringLiteral("195803")), QStringLiteral("1958.03"));
        QCOMPARE(DotDate(QStringLiteral("1958")), QStringLiteral("1958"));
        QCOMPARE(DotDate(QStringLiteral("19583")), QStringLiteral("1958.3"));
    }
};

QTEST_APPLESS_MAIN(TstTextRules)
#include "tst_textrules.moc"
