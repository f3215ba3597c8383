#include "record/DocumentReader.h"
#include "foundation/Clock.h"
#include "record/TextRules.h"
#include "record/BriefImport.h"
#include "record/DocumentItems.h"

namespace {

QString part(const QStringList &parts, int i)
{
    return i < parts.size() ? parts.at(i) : QString();
}

QString withoutLineBreaks(const QString &text)
{
    return StripLineBreaks(text);
}

void clearFamily(AppointmentRecord &r)
{
    for (auto *column : {&r.Chengwei, &r.Xingm, &r.csrq, &r.Mianmao, &r.Danwei})
        column->fill(QString());
}

} // namespace

void splitEducationItem(const QString &item, QString &upper1, QString &lower1, QString &upper2,
                        QString &lower2)
{
    const QStringList halves = item.split(QLatin1Char('@'));
    const QStringList first = part(halves, 0).split(QLatin1Char('#'));
    const QStringList second = part(halves, 1).split(QLatin1Char('#'));
    upper1 = part(first, 0);
    lower1 = part(first, 1);
    upper2 = part(second, 0);
    lower2 = part(second, 1);
}

void readFamilyColumn(const QString &item, AppointmentRecord::FamilyColumn &column)
{
    int row = 0, start = 0;
    while (row < AppointmentRecord::kFamilyRows) {
        const int at = item.indexOf(QLatin1Char('@'), start);
        if (at < 0)
            break;
        column[row++] = item.mid(start, at - start);
        start = at + 1;
    }
}

QString renPartyText(const QString &a6, const QString &a7, const QString &a8, const QString &a9)
{
    const QString semi = QStringLiteral("；");
    if (!a6.isEmpty()) {
        if (a8.isEmpty() && a9.isEmpty())
            return a6;
        QString s = a6 + semi;
        for (const QString &a : {a8, a9})
            if (!a.isEmpty())
                s += a + semi;
        return s;
    }
    QStringList present;
    for (const QString &a : {a7, a8, a9})
        if (!a.isEmpty())
            present << a;
    if (present.size() == 1)
        return present.first();
    QString s;
    for (const QString &a : present)
        s += a + semi;
    return s;
}

void applyDwzItems(const QStringList &items, AppointmentRecord &r)
{
    auto at = [&items](int number) { return part(items, number - 1); };
    r.Name = at(1);
    r.Sex = at(2);
    r.Birthday = at(3);
    r.People = at(4);
    r.Jiguan = at(5);
    r.Rudang = at(6);
    r.Health = at(7);
    r.BirPlace = at(8);
    r.Worktime = at(9);
    splitEducationItem(at(10), r.Xueli, r.XueliAdd, r.Xueli2, r.XueliAdd2);
    splitEducationItem(at(11), r.Biye, r.BiyeAdd, r.Biye2, r.BiyeAdd2);
    r.Xuewei = at(12);
    r.Shuxi = at(17);
    r.JianLi = at(18);
    r.JiangCheng = at(19);
    r.KaoHe = at(20);
    readFamilyColumn(at(21), r.Chengwei);
    readFamilyColumn(at(22), r.Xingm);
    readFamilyColumn(at(23), r.csrq);
    readFamilyColumn(at(24), r.Mianmao);
    readFamilyColumn(at(25), r.Danwei);
    r.XianRen = withoutLineBreaks(at(26));
    r.NiRen = at(27);
    r.NiMian = at(28);
    r.RenMianLiy = at(29);
    r.Chengbao = at(30);
    r.Date = at(31);
    r.NameFill = at(32);
}

void applyRenItems(const QStringList &items, AppointmentRecord &r)
{
    auto at = [&items](int number) { return part(items, number - 1); };
    r.Name = at(1);
    r.Sex = at(2);
    r.Birthday = at(3);
    r.People = at(4);
    r.Jiguan = at(5);
    r.Rudang = renPartyText(at(6), at(7), at(8), at(9));
    r.Health = at(10);
    r.BirPlace = at(11);
    r.Worktime = at(12);
    splitEducationItem(at(13), r.Xueli, r.XueliAdd, r.Xueli2, r.XueliAdd2);
    splitEducationItem(at(14), r.Biye, r.BiyeAdd, r.Biye2, r.BiyeAdd2);
    r.Xuewei = at(15);
    r.Shuxi = at(20);
    r.JianLi = at(21);
    r.JiangCheng = at(22);
    r.KaoHe = at(23);
    readFamilyColumn(at(24), r.Chengwei);
    readFamilyColumn(at(25), r.Xingm);
    readFamilyColumn(at(26), r.csrq);
    readFamilyColumn(at(27), r.Mianmao);
    readFamilyColumn(at(28), r.Danwei);
    r.XianRen = withoutLineBreaks(at(29));
    r.NiRen = at(30);
    r.NiMian = at(31);
    r.RenMianLiy = at(32);
    r.Chengbao = at(33);
    r.Date = at(34);
}

bool DocumentReader::read(QIODevice &device, DocumentKind kind, AppointmentRecord &record)
{
    m_error.clear();
    if (kind == DocumentKind::Unknown) {
        m_error = QStringLiteral("文件类型不正确！");
        return false;
    }
    DocumentItemReader items;
    if (!items.read(device, documentItemCount(kind), documentMinimumItemCount(kind))) {
        m_error = items.errorString();
        return false;
    }

    AppointmentRecord r = record;
    clearFamily(r);
    r.FillDate.clear();
    switch (kind) {
    case DocumentKind::Dwz:
        applyDwzItems(items.items(), r);
        break;
    case DocumentKind::Ren:
        applyRenItems(items.items(), r);
        r.NameFill.clear();
        break;
    case DocumentKind::Ljy:
    case DocumentKind::Jan:
        fillFromBrief(r, briefRecordFromItems(items.items()));
        break;
    case DocumentKind::Unknown:
        break;
    }

    if (r.Date.isEmpty())
        r.Date = Clock::todayDigits();
    r.FillDate = Clock::todayDigits();
    r.Rudang = RemoveChar(r.Rudang, QStringLiteral("."));
    record = r;
    return true;
}
