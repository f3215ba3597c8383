#pragma once
#include <QString>

// The renderer's variables: one text per record field, normalised for
// printing by the hand-off, from which both pages are drawn and which the
// document writer stores.
struct RendererVars {
    QString TNAME, SEX, BIRTH, PEOPLE, JIGUAN;
    QString PARTYTIME, PARTY1, PARTY2, PARTY3;
    QString HEALTH, BIRTHDI, WORKTIME, XUEWEI;
    QString xueli, BIYE;          // education and school items
    QString SHUXI, XIANREN, NIREN, NIMIAN, JIANLI;
    QString JIANGCHENG, KAOHE, RENMIAN;
    QString CHENWEI, XINGMING, BIRTHHH, MIANMAO, DANWEI;   // family column items
    QString CHENGBAO, XINGMINGFILL, MYDATE, FillDATE;
    // Never set by the hand-off; written as the empty items 13-16.
    QString AGE, DANGCI, MONEYD, JIBIE, MONEYJ;

    // The size the résumé of this record was last drawn at, in points: 12
    // after a load, lowered by a drawing that had to shrink the résumé, and
    // shown by the entry window's résumé box when the preview closes. The
    // hand-off leaves it alone and documents do not store it.
    int resumeFontSize = 12;
};
