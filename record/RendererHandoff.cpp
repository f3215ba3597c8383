#include "record/RendererHandoff.h"
#include "record/TextRules.h"

#include <QStringList>

namespace {

QString trimmedCurled(const QString &text)
{
    return CurlQuotes(TrimSpaces(text));
}

// Trimmed and on one line; the caller writes the result back into the field.
QString oneLineDate(const QString &text)
{
    return StripLineBreaks(TrimSpaces(text));
}

// SplitPartyText keeps three entries; a fourth one that is not blank would
// vanish from the printed form without a word, so the hand-off refuses it.
bool partyTextFitsThreeEntries(const QString &text)
{
    const QStringList parts = RemoveSpaces(text).split(QStringLiteral("；"));
    for (int i = 3; i < parts.size(); ++i)
        if (!TrimSpaces(parts.at(i)).isEmpty())
            return false;
    return true;
}

} // namespace

QString familyColumnItem(const AppointmentRecord::FamilyColumn &column)
{
    QString item;
    for (const QString &cell : column)
        item += TrimSpaces(cell) + QLatin1Char('@');
    // The printed table has room for two more members.
    item += QStringLiteral("@@");
    return item;
}

void setParaOfXLinfo(const AppointmentRecord &r, RendererVars &pFrm)
{
    const QString hash = QStringLiteral("#"), at = QStringLiteral("@");
    pFrm.xueli = TrimSpaces(r.Xueli) + hash + TrimSpaces(r.XueliAdd) + at + TrimSpaces(r.Xueli2) + hash
        + TrimSpaces(r.XueliAdd2);
    pFrm.BIYE = TrimSpaces(r.Biye) + hash + TrimSpaces(r.BiyeAdd) + at + TrimSpaces(r.Biye2) + hash
        + TrimSpaces(r.BiyeAdd2);
}

bool FillRenderer(AppointmentRecord &r, RendererVars &pFrm, Interaction &ui)
{
    pFrm.TNAME = trimmedCurled(r.Name);
    pFrm.SEX = trimmedCurled(r.Sex);
    r.Birthday = oneLineDate(r.Birthday);
    pFrm.BIRTH = CurlQuotes(r.Birthday);
    pFrm.PEOPLE = trimmedCurled(r.People);
    pFrm.JIGUAN = trimmedCurled(r.Jiguan);

    r.compactPartyText = RemoveSpaces(r.Rudang);
    if (!partyTextFitsThreeEntries(r.Rudang)) {
        ui.message(QStringLiteral("系统校验"),
                   QStringLiteral("请仔细检查入党时间栏是否在每一个党派后加上了汉字的分号“；”"),
                   MessageIcon::Critical);
        return false;
    }
    QString party1, party2, party3;
    const QString joined = SplitPartyText(TrimSpaces(r.Rudang), party1, party2, party3);
    pFrm.PARTYTIME = trimmedCurled(joined);
    pFrm.PARTY1 = trimmedCurled(party1);
    pFrm.PARTY2 = trimmedCurled(party2);
    pFrm.PARTY3 = trimmedCurled(party3);

    pFrm.HEALTH = trimmedCurled(r.Health);
    pFrm.BIRTHDI = trimmedCurled(r.BirPlace);
    r.Worktime = oneLineDate(r.Worktime);
    pFrm.WORKTIME = CurlQuotes(r.Worktime);
    pFrm.XUEWEI = trimmedCurled(r.Xuewei);
    setParaOfXLinfo(r, pFrm);
    pFrm.SHUXI = trimmedCurled(r.Shuxi);
    pFrm.XIANREN = trimmedCurled(r.XianRen);
    pFrm.NIREN = trimmedCurled(r.NiRen);
    pFrm.NIMIAN = trimmedCurled(r.NiMian);
    pFrm.JIANLI = CurlQuotes(r.JianLi);
    pFrm.JIANGCHENG = trimmedCurled(r.JiangCheng);
    pFrm.KAOHE = trimmedCurled(r.KaoHe);
    pFrm.RENMIAN = trimmedCurled(r.RenMianLiy);

    pFrm.CHENWEI = trimmedCurled(familyColumnItem(r.Chengwei));
    QString names = trimmedCurled(familyColumnItem(r.Xingm));
    names.remove(QLatin1Char(' '));
    names.remove(QChar(0xE5E5));
    pFrm.XINGMING = names;
    pFrm.BIRTHHH = trimmedCurled(familyColumnItem(r.csrq));
    pFrm.MIANMAO = trimmedCurled(familyColumnItem(r.Mianmao));
    pFrm.DANWEI = trimmedCurled(familyColumnItem(r.Danwei));

    pFrm.CHENGBAO = trimmedCurled(r.Chengbao);
    pFrm.XINGMINGFILL = RemoveSpaces(r.NameFill);
    pFrm.MYDATE = trimmedCurled(r.Date);
    pFrm.FillDATE = trimmedCurled(r.FillDate);
    return true;
}
