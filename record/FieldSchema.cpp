#include "record/FieldSchema.h"

const QVector<RecordField> &recordFields()
{
    using R = AppointmentRecord;
    using V = RendererVars;
    using F = RecordField;
    constexpr unsigned breaks = F::KeepsLineBreaks;
    constexpr unsigned date = F::HoldsDate;
    // clang-format off
    static const QVector<RecordField> fields = {
        // control        label                         record member            page tab  entry box (twips)            hand-off value              .dwz .ren brief part rules                  question on a brief import  roster column
        {"txtName",       "姓名",                       &R::name, nullptr,                1,  1, {1860, 1080, 1275, 555},  &V::name,                    1,  1,  1, -1, 0,                      nullptr, {1}},
        {"txtSex",        "性别",                       &R::sex, nullptr,                 1,  2, {3990, 1080, 1185, 555},  &V::sex,                     2,  2,  2, -1, 0,                      nullptr, {2}},
        {"txtBirthday",   "出生年月",                   &R::birthDate, nullptr,           1,  3, {6270, 1110, 1275, 555},  &V::birthDate,               3,  3,  3, -1, F::StoredWithoutDots | date,nullptr, {3}},
        {"txtPeople",     "民族",                       &R::ethnicGroup, nullptr,         1,  4, {1860, 1680, 1275, 555},  &V::ethnicGroup,             4,  4,  5, -1, 0,                      nullptr, {5}},
        {"txtJiguan",     "籍贯",                       &R::nativePlace, nullptr,         1,  5, {3990, 1680, 1185, 555},  &V::nativePlace,             5,  5,  6, -1, 0,                      nullptr, {6}},
        {"txtRudang",     "入党时间",                   &R::partyMembership, nullptr,     1,  7, {1860, 2280, 1275, 555},  nullptr,                     6,  6,  7, -1, F::PartyText,           nullptr, {8}},
        {"txtHealth",     "健康状况",                   &R::health, nullptr,              1,  9, {6270, 2280, 1275, 555},  &V::health,                  7, 10, 19, -1, 0,                      nullptr, {}},
        {"txtBirPlace",   "出生地",                     &R::birthPlace, nullptr,          1,  6, {6270, 1680, 1275, 555},  &V::birthPlace,              8, 11, 12, -1, 0,                      nullptr, {7}},
        {"txtWorktime",   "参加工作时间",               &R::workStartDate, nullptr,       1,  8, {3990, 2280, 1185, 555},  &V::workStartDate,           9, 12, 13, -1, F::StoredWithoutDots | date,nullptr, {9}},
        {"txtXuewei",     "专业技术职务",               &R::professionalTitle, nullptr,   1, 10, {1860, 2880, 2115, 555},  &V::professionalTitle,      12, 15, 17, -1, 0,                      nullptr, {14}},
        {"txtShuxi",      "熟悉专业有何专长",           &R::specialities, nullptr,        1, 11, {5190, 2880, 2355, 555},  &V::specialities,           17, 20, 20, -1, 0,                      nullptr, {}},
        // Education: 学历 on the upper line, 学位 on the lower, schools beside them
        {"txtXueli",      "全日制教育 学历学位",        &R::fullTimeEducation, nullptr,   1, 12, {3180, 3480, 1995, 285},  &V::educationItems,         10, 13, 15,  0, 0,                      nullptr, {10, "全日制学历学位"}},
        {"txtXueliAdd",   "全日制教育 学历学位",        &R::fullTimeDegree, nullptr,      1, 13, {3180, 3750, 1995, 285},  &V::educationItems,         10, 13,  0,  1, 0,                      "全日制教育的学位", {10, "全日制学历学位"}},
        {"txtXueli2",     "在职教育 学历学位",          &R::inServiceEducation, nullptr,  1, 16, {3180, 4080, 1995, 285},  &V::educationItems,         10, 13,  0,  2, 0,                      "在职教育的学历", {12, "在职学历学位"}},
        {"txtXueliAdd2",  "在职教育 学历学位",          &R::inServiceDegree, nullptr,     1, 17, {3180, 4350, 1995, 285},  &V::educationItems,         10, 13,  0,  3, 0,                      "在职教育的学位", {12, "在职学历学位"}},
        {"txtBiye",       "全日制教育 毕业院校系及专业", &R::fullTimeSchool, nullptr,     1, 14, {6270, 3480, 3195, 285},  &V::schoolItems,            11, 14, 16,  0, 0,                      nullptr, {11, "毕业院校及专业"}},
        {"txtBiyeAdd",    "全日制教育 毕业院校系及专业", &R::fullTimeSpeciality, nullptr, 1, 15, {6270, 3750, 3195, 285},  &V::schoolItems,            11, 14,  0,  1, 0,                      "全日制教育的专业", {11, "毕业院校及专业"}},
        {"txtBiye2",      "在职教育 毕业院校系及专业",  &R::inServiceSchool, nullptr,     1, 18, {6270, 4080, 3195, 285},  &V::schoolItems,            11, 14,  0,  2, 0,                      "在职教育的毕业院校系", {13, "毕业院校及专业"}},
        {"txtBiyeAdd2",   "在职教育 毕业院校系及专业",  &R::inServiceSpeciality, nullptr, 1, 19, {6270, 4350, 3195, 285},  &V::schoolItems,            11, 14,  0,  3, 0,                      "在职教育的专业", {13, "毕业院校及专业"}},
        {"txtXianRen",    "现任职务",                   &R::currentPosts, nullptr,        1, 20, {3180, 4680, 6285, 555},  &V::currentPosts,           26, 29, 28, -1, F::OneLineOnLoading,    nullptr, {15}},
        {"txtNiRen",      "拟任职务",                   &R::proposedPosts, nullptr,       1, 21, {3180, 5280, 6285, 555},  &V::proposedPosts,          27, 30,  0, -1, breaks,                 "拟任职务", {16}},
        {"txtNiMian",     "拟免职务",                   &R::postsToBeRemoved, nullptr,    1, 22, {3180, 5880, 6285, 555},  &V::postsToBeRemoved,       28, 31,  0, -1, breaks,                 "拟免职务", {17}},
        {"txtJianLi",     "简历",                       &R::resume, nullptr,              1, 23, {2460, 6660, 7005, 5355}, &V::resume,                 18, 21, 21, -1, breaks,                 nullptr, {}},
        {"txtJiangCheng", "奖惩情况",                   &R::rewardsAndPunishments, nullptr, 2, 1, {1560, 315, 7935, 1275}, &V::rewardsAndPunishments,  19, 22, 22, -1, breaks,                 nullptr, {}},
        {"txtKaoHe",      "年度考核结果",               &R::appraisalResults, nullptr,    2,  2, {1560, 1620, 7935, 1035}, &V::appraisalResults,       20, 23, 30, -1, breaks,                 nullptr, {}},
        {"txtRenMianLiy", "任免理由",                   &R::reasonForAppointment, nullptr, 2, 3, {1560, 2700, 7935, 1275}, &V::reasonForAppointment,   29, 32,  0, -1, breaks,                 "任免理由", {}},
        {"txtChengwei",   "称谓",                       nullptr, &R::familyRelations,     2,  4, {1770, 4620, 945, 585},   &V::familyRelations,        21, 24, 23, -1, 0,                      nullptr, {}},
        {"txtXingm",      "姓名",                       nullptr, &R::familyNames,         2,  4, {2730, 4620, 1275, 585},  &V::familyNames,            22, 25, 24, -1, 0,                      nullptr, {}},
        {"txtcsrq",       "年龄",                       nullptr, &R::familyBirthDates,    2,  4, {4020, 4620, 1065, 585},  &V::familyBirthDates,       23, 26, 25, -1, date,                   nullptr, {}},   // printed as the age
        {"txtMianmao",    "政治面貌",                   nullptr, &R::familyPoliticalStatus, 2, 4, {5100, 4620, 945, 585},  &V::familyPoliticalStatus,  24, 27, 26, -1, 0,                      nullptr, {}},
        {"txtDanwei",     "工作单位及职务",             nullptr, &R::familyWorkplaces,    2,  4, {6060, 4620, 3435, 585},  &V::familyWorkplaces,       25, 28, 27, -1, 0,                      nullptr, {}},
        {"txtChengbao",   "呈报单位",                   &R::reportingUnit, nullptr,       2,  5, {1770, 9210, 7725, 585},  &V::reportingUnit,          30, 33,  0, -1, 0,                      "呈报单位", {18}},
        // Not labelled on the printed form: the entry window's labels
        {"txtFillDate",   "填表时间",                   &R::fillingDate, nullptr,         2,  6, {1770, 10020, 2115, 405}, &V::fillingDate,             0,  0,  0, -1, date,                   nullptr, {}},   // printed in the reporting unit's cell; today's on loading
        {"txtDate",       "计算年龄时间",               &R::ageReferenceDate, nullptr,    2,  7, {6510, 10020, 2115, 405}, &V::ageReferenceDate,       31, 34, 32, -1, date,                   nullptr, {}},   // the ages count from it
        {"txtNameFill",   "填表人：",                   &R::filledBy, nullptr,            2,  8, {1770, 10665, 1770, 375}, &V::filledBy,               32,  0,  0, -1, 0,                      nullptr, {}},
    };
    // clang-format on
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
    if (!f->isFamily())
        return &f->in(rec);
    if (row < 0 || row >= f->rows())
        return nullptr;
    return &f->in(rec, row);
}

const QString *recordFieldByControl(const AppointmentRecord &rec, const QString &controlName, int row)
{
    return recordFieldByControl(const_cast<AppointmentRecord &>(rec), controlName, row);
}
