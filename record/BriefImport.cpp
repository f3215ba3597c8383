#include "record/BriefImport.h"
#include "record/TextRules.h"

#include <QRegularExpression>

namespace {

void setControl(AppointmentRecord &target, const char *controlName, const QString &value)
{
    if (QString *field = recordFieldByControl(target, QLatin1String(controlName)))
        *field = value;
}

// Highest row index of a control array on the target, -1 when it has none.
int upperBound(AppointmentRecord &target, const char *controlName)
{
    if (!findRecordField(QLatin1String(controlName)))
        return -1;
    int row = 0;
    while (recordFieldByControl(target, QLatin1String(controlName), row + 1))
        ++row;
    return row;
}

void fillColumn(AppointmentRecord &target, const char *controlName, const QString &item, int upper)
{
    QStringList cells = item.split(QLatin1Char('@'));
    for (int row = 0; row <= upper; ++row) {
        QString *cell = recordFieldByControl(target, QLatin1String(controlName), row);
        if (cell)
            *cell = row < cells.size() ? cells.at(row) : QString();
    }
}

} // namespace

BriefRecord briefRecordFromItems(const QStringList &items)
{
    auto at = [&items](int number) { return number <= items.size() ? items.at(number - 1) : QString(); };
    BriefRecord b;
    b.Name = at(1);
    b.Sex = at(2);
    b.Birthday = at(3);
    b.wholeNumber = TrimSpaces(at(4)).toInt();   // unused; anything unreadable counts as 0
    b.People = at(5);
    b.Jiguan = at(6);
    b.partyDate = RemoveChar(at(7), QStringLiteral("."));
    b.party1 = at(8);
    b.party2 = at(9);
    b.party3 = at(10);
    b.BirPlace = at(12);
    b.Worktime = at(13);
    b.Xueli = at(15);
    b.Biye = at(16);
    b.Xuewei = at(17);
    b.Health = at(19);
    b.Shuxi = at(20);
    b.JianLi = at(21);
    b.JiangCheng = at(22);
    b.Chengwei = at(23);
    b.Xingm = at(24);
    b.csrq = at(25);
    b.Mianmao = at(26);
    b.Danwei = at(27);
    b.XianRen = at(28);
    b.Syyx = at(29);
    b.KaoHe = at(30);
    b.Beizhu = at(31);
    b.Date = at(32);
    return b;
}

QString briefPartyText(const BriefRecord &b)
{
    const QString semi = QStringLiteral("；");
    QString s = b.partyDate + semi + b.party1 + semi + b.party2 + semi + b.party3 + semi;
    s.replace(QStringLiteral("；中共；"), semi);
    s.replace(QStringLiteral("；；；；"), QString());
    s.replace(QStringLiteral("；；；"), semi);
    s.replace(QStringLiteral("；；"), semi);
    return s;
}

void fillFromBrief(AppointmentRecord &t, const BriefRecord &b)
{
    const int upper = upperBound(t, "txtChengwei");

    setControl(t, "txtName", b.Name);
    setControl(t, "txtSex", b.Sex);
    setControl(t, "txtBirthday", b.Birthday);
    setControl(t, "txtPeople", b.People);
    setControl(t, "txtJiguan", b.Jiguan);
    setControl(t, "txtRudang", briefPartyText(b));

    setControl(t, "txtHealth", b.Health);
    setControl(t, "txtBirPlace", b.BirPlace);
    setControl(t, "txtWorktime", b.Worktime);
    setControl(t, "txtXueli", b.Xueli);
    setControl(t, "txtXuewei", b.Xuewei);
    setControl(t, "txtBiye", b.Biye);
    setControl(t, "txtShuxi", b.Shuxi);
    setControl(t, "txtXianRen", b.XianRen);
    setControl(t, "txtSyyx", b.Syyx);
    setControl(t, "txtJianLi", b.JianLi);
    setControl(t, "txtJiangCheng", b.JiangCheng);
    setControl(t, "txtKaoHe", b.KaoHe);

    fillColumn(t, "txtChengwei", b.Chengwei, upper);
    fillColumn(t, "txtXingm", b.Xingm, upper);
    fillColumn(t, "txtcsrq", b.csrq, upper);
    fillColumn(t, "txtMianmao", b.Mianmao, upper);
    fillColumn(t, "txtDanwei", b.Danwei, upper);

    setControl(t, "txtBeizhu", b.Beizhu);
    setControl(t, "txtDate", b.Date);
}

namespace {

struct UncarriedField {
    QString AppointmentRecord::*field;
    const char *label;
};

const UncarriedField kUncarried[] = {
    {&AppointmentRecord::XueliAdd, "全日制教育的学位"},
    {&AppointmentRecord::BiyeAdd, "全日制教育的专业"},
    {&AppointmentRecord::Xueli2, "在职教育的学历"},
    {&AppointmentRecord::XueliAdd2, "在职教育的学位"},
    {&AppointmentRecord::Biye2, "在职教育的毕业院校系"},
    {&AppointmentRecord::BiyeAdd2, "在职教育的专业"},
    {&AppointmentRecord::NiRen, "拟任职务"},
    {&AppointmentRecord::NiMian, "拟免职务"},
    {&AppointmentRecord::RenMianLiy, "任免理由"},
    {&AppointmentRecord::Chengbao, "呈报单位"},
};

QString comparableName(const QString &name)
{
    QString s = name;
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

} // namespace

QStringList briefUncarriedFieldsInUse(const AppointmentRecord &record)
{
    QStringList labels;
    for (const UncarriedField &f : kUncarried)
        if (!TrimSpaces(StripLineBreaks(record.*f.field)).isEmpty())
            labels << QString::fromUtf8(f.label);
    return labels;
}

void clearFieldsBriefDoesNotCarry(AppointmentRecord &record)
{
    for (const UncarriedField &f : kUncarried)
        (record.*f.field).clear();
}

bool briefIsAnotherPerson(const AppointmentRecord &record, const QString &briefName)
{
    const QString current = comparableName(record.Name);
    return !current.isEmpty() && current != comparableName(briefName);
}
