#pragma once
#include "record/AppointmentRecord.h"

// Where each record field appears: the member, the entry control that edits
// it (the brief import and the check messages address controls by these
// names, so they keep the old program's spelling) and the label the printed
// form shows for its cell, without the form's spacing (the entry window's
// label for the two dates the form does not label). Fields of the family
// table fill one cell per row under their column's label.
struct FieldLabel {
    QString AppointmentRecord::*text;                          // plain fields
    AppointmentRecord::FamilyColumn AppointmentRecord::*column; // family columns
    const char *controlName;
    const char *label;
};

inline const FieldLabel kFieldLabels[] = {
    // Page one
    {&AppointmentRecord::name, nullptr, "txtName", "姓名"},
    {&AppointmentRecord::sex, nullptr, "txtSex", "性别"},
    {&AppointmentRecord::birthDate, nullptr, "txtBirthday", "出生年月"},
    {&AppointmentRecord::ethnicGroup, nullptr, "txtPeople", "民族"},
    {&AppointmentRecord::nativePlace, nullptr, "txtJiguan", "籍贯"},
    {&AppointmentRecord::partyMembership, nullptr, "txtRudang", "入党时间"},
    {&AppointmentRecord::health, nullptr, "txtHealth", "健康状况"},
    {&AppointmentRecord::birthPlace, nullptr, "txtBirPlace", "出生地"},
    {&AppointmentRecord::workStartDate, nullptr, "txtWorktime", "参加工作时间"},
    {&AppointmentRecord::professionalTitle, nullptr, "txtXuewei", "专业技术职务"},
    {&AppointmentRecord::specialities, nullptr, "txtShuxi", "熟悉专业有何专长"},
    // Education: 学历 on the upper line, 学位 on the lower, schools beside them
    {&AppointmentRecord::fullTimeEducation, nullptr, "txtXueli", "全日制教育 学历学位"},
    {&AppointmentRecord::fullTimeDegree, nullptr, "txtXueliAdd", "全日制教育 学历学位"},
    {&AppointmentRecord::inServiceEducation, nullptr, "txtXueli2", "在职教育 学历学位"},
    {&AppointmentRecord::inServiceDegree, nullptr, "txtXueliAdd2", "在职教育 学历学位"},
    {&AppointmentRecord::fullTimeSchool, nullptr, "txtBiye", "全日制教育 毕业院校系及专业"},
    {&AppointmentRecord::fullTimeSpeciality, nullptr, "txtBiyeAdd", "全日制教育 毕业院校系及专业"},
    {&AppointmentRecord::inServiceSchool, nullptr, "txtBiye2", "在职教育 毕业院校系及专业"},
    {&AppointmentRecord::inServiceSpeciality, nullptr, "txtBiyeAdd2", "在职教育 毕业院校系及专业"},
    {&AppointmentRecord::currentPosts, nullptr, "txtXianRen", "现任职务"},
    {&AppointmentRecord::proposedPosts, nullptr, "txtNiRen", "拟任职务"},
    {&AppointmentRecord::postsToBeRemoved, nullptr, "txtNiMian", "拟免职务"},
    {&AppointmentRecord::resume, nullptr, "txtJianLi", "简历"},
    // Page two
    {&AppointmentRecord::rewardsAndPunishments, nullptr, "txtJiangCheng", "奖惩情况"},
    {&AppointmentRecord::appraisalResults, nullptr, "txtKaoHe", "年度考核结果"},
    {&AppointmentRecord::reasonForAppointment, nullptr, "txtRenMianLiy", "任免理由"},
    {nullptr, &AppointmentRecord::familyRelations, "txtChengwei", "称谓"},
    {nullptr, &AppointmentRecord::familyNames, "txtXingm", "姓名"},
    {nullptr, &AppointmentRecord::familyBirthDates, "txtcsrq", "年龄"},   // printed as the age
    {nullptr, &AppointmentRecord::familyPoliticalStatus, "txtMianmao", "政治面貌"},
    {nullptr, &AppointmentRecord::familyWorkplaces, "txtDanwei", "工作单位及职务"},
    {&AppointmentRecord::reportingUnit, nullptr, "txtChengbao", "呈报单位"},
    // Not labelled on the printed form: the entry window's labels
    {&AppointmentRecord::fillingDate, nullptr, "txtFillDate", "填表时间"},      // printed in the reporting unit's cell
    {&AppointmentRecord::ageReferenceDate, nullptr, "txtDate", "计算年龄时间"}, // the ages count from it
    {&AppointmentRecord::filledBy, nullptr, "txtNameFill", "填表人："},
};

// The printed label of the field behind a control name; empty if none.
inline QString fieldLabel(const QString &controlName)
{
    for (const FieldLabel &f : kFieldLabels)
        if (controlName == QLatin1String(f.controlName))
            return QString::fromUtf8(f.label);
    return QString();
}
