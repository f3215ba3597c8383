#include "record/AppointmentRecord.h"

const QVector<RecordField> &recordFields()
{
    using R = AppointmentRecord;
    static const QVector<RecordField> fields = {
        {"txtName", 1, false, &R::Name, nullptr},
        {"txtSex", 1, false, &R::Sex, nullptr},
        {"txtBirthday", 1, false, &R::Birthday, nullptr},
        {"txtPeople", 1, false, &R::People, nullptr},
        {"txtJiguan", 1, false, &R::Jiguan, nullptr},
        {"txtRudang", 1, false, &R::Rudang, nullptr},
        {"txtHealth", 1, false, &R::Health, nullptr},
        {"txtBirPlace", 1, false, &R::BirPlace, nullptr},
        {"txtWorktime", 1, false, &R::Worktime, nullptr},
        {"txtXuewei", 1, false, &R::Xuewei, nullptr},
        {"txtShuxi", 1, false, &R::Shuxi, nullptr},
        {"txtXueli", 1, false, &R::Xueli, nullptr},
        {"txtXueliAdd", 1, false, &R::XueliAdd, nullptr},
        {"txtXueli2", 1, false, &R::Xueli2, nullptr},
        {"txtXueliAdd2", 1, false, &R::XueliAdd2, nullptr},
        {"txtBiye", 1, false, &R::Biye, nullptr},
        {"txtBiyeAdd", 1, false, &R::BiyeAdd, nullptr},
        {"txtBiye2", 1, false, &R::Biye2, nullptr},
        {"txtBiyeAdd2", 1, false, &R::BiyeAdd2, nullptr},
        {"txtXianRen", 1, false, &R::XianRen, nullptr},
        {"txtNiRen", 1, false, &R::NiRen, nullptr},
        {"txtNiMian", 1, false, &R::NiMian, nullptr},
        {"txtJianLi", 1, false, &R::JianLi, nullptr},
        {"txtJiangCheng", 2, false, &R::JiangCheng, nullptr},
        {"txtKaoHe", 2, false, &R::KaoHe, nullptr},
        {"txtRenMianLiy", 2, false, &R::RenMianLiy, nullptr},
        {"txtChengwei", 2, true, nullptr, &R::Chengwei},
        {"txtXingm", 2, true, nullptr, &R::Xingm},
        {"txtcsrq", 2, true, nullptr, &R::csrq},
        {"txtMianmao", 2, true, nullptr, &R::Mianmao},
        {"txtDanwei", 2, true, nullptr, &R::Danwei},
        {"txtChengbao", 2, false, &R::Chengbao, nullptr},
        {"txtFillDate", 2, false, &R::FillDate, nullptr},
        {"txtDate", 2, false, &R::Date, nullptr},
        {"txtNameFill", 2, false, &R::NameFill, nullptr},
    };
    return fields;
}

const RecordField *findRecordField(const QString &controlName)
{
    for (const RecordField &f : recordFields())
        if (controlName == QLatin1String(f.controlName))
            return &f;
    return nullptr;
}

QString *recordFieldByControl(AppointmentRecord &rec, const QString &controlName, int row)
{
    const RecordField *f = findRecordField(controlName);
    if (!f)
        return nullptr;
    if (!f->family)
        return &(rec.*(f->text));
    if (row < 0 || row >= AppointmentRecord::kFamilyRows)
        return nullptr;
    return &(rec.*(f->column))[row];
}

bool AppointmentRecord::sameFields(const AppointmentRecord &o) const
{
    for (const RecordField &f : recordFields()) {
        if (f.family) {
            if (this->*(f.column) != o.*(f.column))
                return false;
        } else if (this->*(f.text) != o.*(f.text)) {
            return false;
        }
    }
    return HasPhoto == o.HasPhoto && PhotoPath == o.PhotoPath;
}
