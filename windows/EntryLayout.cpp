#include "windows/EntryLayout.h"

#include <algorithm>
#include <utility>

namespace EntryLayout {

namespace {

// Family rows: six even rows, the seventh lower down; the names of the
// third and fourth members sit a little apart from their rows.
double familyRowTop(const RecordField &field, int row)
{
    if (field.column == &AppointmentRecord::familyNames && (row == 2 || row == 3))
        return row == 2 ? 5910 : 6570;
    return row < 6 ? field.box.top() + 648 * row : 8490;
}

// Each page's boxes in its Tab order; the family table's columns share one
// place in it and are taken row by row.
QVector<ControlPlace> buildPlaces()
{
    QVector<const RecordField *> order;
    for (const RecordField &f : recordFields())
        order.append(&f);
    std::stable_sort(order.begin(), order.end(), [](const RecordField *a, const RecordField *b) {
        return std::make_pair(a->page, a->tab) < std::make_pair(b->page, b->tab);
    });
    QVector<ControlPlace> p;
    for (int i = 0; i < order.size();) {
        const RecordField &first = *order[i];
        if (!first.isFamily()) {
            p.append({QLatin1String(first.controlName), -1, first.page, first.box, &first});
            ++i;
            continue;
        }
        int end = i;
        while (end < order.size() && order[end]->isFamily() && order[end]->page == first.page && order[end]->tab == first.tab)
            ++end;
        for (int row = 0; row < AppointmentRecord::kFamilyRows; ++row)
            for (int k = i; k < end; ++k) {
                const RecordField &f = *order[k];
                QRectF box = f.box;
                box.moveTop(familyRowTop(f, row));
                p.append({QLatin1String(f.controlName), row, f.page, box, &f});
            }
        i = end;
    }
    return p;
}

// Cell edges shared by the labels and the lines.
constexpr double L = 780, R = 9525;

QVector<Label> page1Labels()
{
    auto cell = [](double l, double t, double r, double b, const char *text, double pt = 12) {
        return Label{QRectF(l, t, r - l, b - t), QString::fromUtf8(text), pt};
    };
    return {
        cell(0, 250, 9979.2, 900, "干 部 任 免 审 批 表", 20),
        cell(L, 1050, 1830, 1650, "姓  名"),
        cell(3150, 1050, 3990, 1650, "性  别"),
        cell(5182, 1050, 6255, 1650, "出生年月\n（  岁）", 10.5),
        cell(L, 1650, 1830, 2250, "民  族"),
        cell(3150, 1650, 3990, 2250, "籍  贯"),
        cell(5182, 1650, 6255, 2250, "出 生 地"),
        cell(L, 2250, 1830, 2850, "入  党\n时  间"),
        cell(3150, 2250, 3990, 2850, "参加工\n作时间", 10.5),
        cell(5182, 2250, 6255, 2850, "健康状况"),
        cell(L, 2850, 1830, 3450, "专业技\n术职务"),
        cell(3990, 2850, 5182, 3450, "熟悉专业\n有何专长"),
        cell(L, 3450, 1830, 4650, "学  历\n学  位"),
        cell(1830, 3450, 3150, 4050, "全日制\n教  育"),
        cell(1830, 4050, 3150, 4650, "在  职\n教  育"),
        cell(5182, 3450, 6255, 4050, "毕业院校\n系及专业", 10.5),
        cell(5182, 4050, 6255, 4650, "毕业院校\n系及专业", 10.5),
        cell(L, 4650, 3150, 5250, "现  任  职  务"),
        cell(L, 5250, 3150, 5850, "拟  任  职  务"),
        cell(L, 5850, 3150, 6450, "拟  免  职  务"),
        cell(L, 6450, 2430, 12120, "简\n\n\n\n历"),
    };
}

QVector<QLineF> page1Lines()
{
    auto h = [](double y, double x1, double x2) { return QLineF(x1, y, x2, y); };
    auto v = [](double x, double y1, double y2) { return QLineF(x, y1, x, y2); };
    return {
        h(1050, L, R), h(1650, L, 7560), h(2250, L, 7560), h(2850, L, 7560),
        h(3450, L, R), h(4050, 1830, R), h(4650, L, R), h(5250, L, R), h(5850, L, R),
        h(6450, L, R), h(12120, L, R),
        v(L, 1050, 12120), v(R, 1050, 12120),
        v(1830, 1050, 4650), v(3150, 1050, 2850), v(3150, 3450, 6450),
        v(3990, 1050, 3450), v(5182, 1050, 4650), v(6255, 1050, 2850), v(6255, 3450, 4650),
        v(7560, 1050, 3450), v(2430, 6450, 12120),
    };
}

QVector<Label> page2Labels()
{
    auto cell = [](double l, double t, double r, double b, const char *text, double pt = 12) {
        return Label{QRectF(l, t, r - l, b - t), QString::fromUtf8(text), pt};
    };
    return {
        cell(L, 285, 1545, 1605, "奖\n惩\n情\n况"),
        cell(L, 1605, 1545, 2685, "年 考\n度 核\n结\n果", 10.5),
        cell(L, 2685, 1545, 4005, "任\n免\n理\n由"),
        cell(L, 4005, 1755, 9120, "家\n庭\n主\n要\n成\n员\n及\n重\n要\n社\n会\n关\n系"),
        cell(1755, 4005, 2722, 4590, "称  谓"),
        cell(2722, 4005, 4012, 4590, "姓     名"),
        cell(4012, 4005, 5092, 4590, "出  生\n日  期", 10.5),
        cell(5092, 4005, 6052, 4590, "政 治\n面 貌", 10.5),
        cell(6052, 4005, R, 4590, "工  作  单  位  及  职  务"),
        cell(L, 9120, 1755, 9825, "呈报\n单位"),
        cell(L, 10020, 1755, 10425, "填表时间"),
        cell(4950, 10020, 6480, 10425, "计算年龄时间"),
        cell(L, 10665, 1755, 11040, "填表人："),
    };
}

QVector<QLineF> page2Lines()
{
    auto h = [](double y, double x1, double x2) { return QLineF(x1, y, x2, y); };
    auto v = [](double x, double y1, double y2) { return QLineF(x, y1, x, y2); };
    QVector<QLineF> ls = {
        h(285, L, R), h(1605, L, R), h(2685, L, R), h(4005, L, R), h(9120, L, R), h(9825, L, R),
        v(L, 285, 9825), v(R, 285, 9825), v(1545, 285, 4005), v(1755, 4005, 9825),
        v(2722, 4005, 9120), v(4012, 4005, 9120), v(5092, 4005, 9120), v(6052, 4005, 9120),
    };
    for (double y : {4590.0, 5238.0, 5886.0, 6534.0, 7182.0, 7830.0, 8460.0})
        ls.append(h(y, 1755, R));
    return ls;
}

} // namespace

const QVector<ControlPlace> &controlPlaces()
{
    static const QVector<ControlPlace> places = buildPlaces();
    return places;
}

QRectF photoFrame()
{
    return QRectF(7680, 1080, 1785, 2355);
}

const QVector<Label> &labels(int page)
{
    static const QVector<Label> one = page1Labels();
    static const QVector<Label> two = page2Labels();
    return page == 1 ? one : two;
}

const QVector<QLineF> &lines(int page)
{
    static const QVector<QLineF> one = page1Lines();
    static const QVector<QLineF> two = page2Lines();
    return page == 1 ? one : two;
}

const QVector<Button> &buttons()
{
    static const QVector<Button> b = {
        {&EntryButtons::load, "CmdDiaoru", QStringLiteral("调  入")},
        {&EntryButtons::save, "CmdSave", QStringLiteral("保  存")},
        {&EntryButtons::nextPage, "CmdNextPage", QStringLiteral("下一页")},
        {&EntryButtons::previousPage, "CmdLastpage", QStringLiteral("上一页")},
        {&EntryButtons::preview, "CmdPreviewP", QStringLiteral("预 览 ")},
        {&EntryButtons::margins, "cmdDist", QStringLiteral("设置边距")},
        {&EntryButtons::photo, "cmdPhoto", QStringLiteral("照  片")},
        {&EntryButtons::close, "CmdClose", QStringLiteral("关  闭")},
        {&EntryButtons::help, "cmdHelp", QStringLiteral("帮  助")},
    };
    return b;
}

QRectF buttonRect(int index)
{
    return QRectF(45 + index * 1100, 30, 1050, 390);
}

} // namespace EntryLayout
