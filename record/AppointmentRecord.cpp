#include "record/AppointmentRecord.h"

const QVector<RecordField> &recordFields()
{
    using R = AppointmentRecord;
    static const QVector<RecordField> fields = {
        {"txtName", 1, false, &R::name, nullptr},
        {"txtSex", 1, false, &R::sex, nullptr},
        {"txtBirthday", 1, false, &R::birthDate, nullptr},
        {"txtPeople", 1, false, &R::ethnicGroup, nullptr},
        {"txtJiguan", 1, false, &R::nativePlace, nullptr},
        {"txtRudang", 1, false, &R::partyMembership, nullptr},
        {"txtHealth", 1, false, &R::health, nullptr},
        {"txtBirPlace", 1, false, &R::birthPlace, nullptr},
        {"txtWorktime", 1, false, &R::workStartDate, nullptr},
        {"txtXuewei", 1, false, &R::professionalTitle, nullptr},
        {"txtShuxi", 1, false, &R::specialities, nullptr},
        {"txtXueli", 1, false, &R::fullTimeEducation, nullptr},
        {"txtXueliAdd", 1, false, &R::fullTimeDegree, nullptr},
        {"txtXueli2", 1, false, &R::inServiceEducation, nullptr},
        {"txtXueliAdd2", 1, false, &R::inServiceDegree, nullptr},
        {"txtBiye", 1, false, &R::fullTimeSchool, nullptr},
        {"txtBiyeAdd", 1, false, &R::fullTimeSpeciality, nullptr},
        {"txtBiye2", 1, false, &R::inServiceSchool, nullptr},
        {"txtBiyeAdd2", 1, false, &R::inServiceSpeciality, nullptr},
        {"txtXianRen", 1, false, &R::currentPosts, nullptr},   // documents lose its breaks on loading
        {"txtNiRen", 1, false, &R::proposedPosts, nullptr, true},
        {"txtNiMian", 1, false, &R::postsToBeRemoved, nullptr, true},
        {"txtJianLi", 1, false, &R::resume, nullptr, true},
        {"txtJiangCheng", 2, false, &R::rewardsAndPunishments, nullptr, true},
        {"txtKaoHe", 2, false, &R::appraisalResults, nullptr, true},
        {"txtRenMianLiy", 2, false, &R::reasonForAppointment, nullptr, true},
        {"txtChengwei", 2, true, nullptr, &R::familyRelations},
        {"txtXingm", 2, true, nullptr, &R::familyNames},
        {"txtcsrq", 2, true, nullptr, &R::familyBirthDates},
        {"txtMianmao", 2, true, nullptr, &R::familyPoliticalStatus},
        {"txtDanwei", 2, true, nullptr, &R::familyWorkplaces},
        {"txtChengbao", 2, false, &R::reportingUnit, nullptr},
        {"txtFillDate", 2, false, &R::fillingDate, nullptr},
        {"txtDate", 2, false, &R::ageReferenceDate, nullptr},
        {"txtNameFill", 2, false, &R::filledBy, nullptr},
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

const QString *recordFieldByControl(const AppointmentRecord &rec, const QString &controlName, int row)
{
    return recordFieldByControl(const_cast<AppointmentRecord &>(rec), controlName, row);
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
    return hasPhoto == o.hasPhoto && photoPath == o.photoPath;
}
