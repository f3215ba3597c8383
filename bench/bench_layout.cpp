#include "layout/CellFitting.h"
#include "layout/LineBreaking.h"
#include "layout/MeasuringSurface.h"
#include "layout/RecordingSurface.h"
#include "layout/ResumeLayout.h"
#include "record/TextRules.h"
#include "foundation/Twips.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QString mixedText(int length)
{
    const QString pattern = QStringLiteral(
        "中共某某市委常委、市人民政府常务副市长（兼），2005年7月至2010年12月任XX县县长；"
        "负责“十四五”规划编制工作, GDP growth 7.5%! 《政府工作报告》起草组成员。");
    QString out;
    while (out.size() < length)
        out += pattern;
    return out.left(length);
}

// The breaker measuring the whole growing line for every character, as a
// point of comparison.
int plainBreak(MeasuringSurface &ms, const QString &text, int width, QStringList &lines)
{
    QStringList noEnd, noStart;
    loadBreakPunctuation(noEnd, noStart);
    lines.clear();
    QString cur;
    int i = 0;
    while (i < text.size()) {
        const QString ch = text.mid(i, 1);
        if (roundHalfEven(ms.textWidth(cur + ch)) <= width) {
            cur += ch;
            ++i;
            continue;
        }
        const int L = cur.size();
        if (L == 0) {
            lines << ch;
            ++i;
            continue;
        }
        int tail = 0;
        while (tail < L && isInList(cur.mid(L - 1 - tail, 1), noEnd, 14))
            ++tail;
        if (tail == 0 && isInList(ch, noStart, 27)) {
            int p = L;
            while (p >= 1 && isInList(cur.mid(p - 1, 1), noStart, 27))
                --p;
            if (p >= 1) {
                int q = p - 1;
                while (q >= 1 && isInList(cur.mid(q - 1, 1), noEnd, 14))
                    --q;
                tail = L - q;
            }
        }
        if (tail < L) {
            lines << cur.left(L - tail);
            i -= tail;
        } else {
            lines << cur;
        }
        cur.clear();
    }
    if (!trimSpaces(cur).isEmpty())
        lines << cur;
    return lines.size();
}

void BM_Break300(benchmark::State &state)
{
    const QString text = mixedText(300);
    MeasuringSurface ms;
    ms.setUpFont(QStringLiteral("楷体"), 12);
    QStringList lines;
    for (auto _ : state) {
        benchmark::DoNotOptimize(breakTextToLines(ms, text, 6067, lines));
    }
    state.counters["lines"] = lines.size();
}


void BM_Break300Plain(benchmark::State &state)
{
    const QString text = mixedText(300);
    MeasuringSurface ms;
    ms.setUpFont(QStringLiteral("楷体"), 12);
    QStringList lines;
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainBreak(ms, text, 6067, lines));
    }
}


void fit(RecordingSurface &s, const QString &text, int x, int y, int w, int h, const QString &label,
         HorizontalAlignment hAlign = HorizontalAlignment::Centre)
{
    fitTextInArea(text, x, y, w, h, s, label, 1.0, hAlign);
}

// Both halves of a cell share one size, as the party and education cells do.
void fitTwoLines(RecordingSurface &s, const QString &upper, const QString &lower, int x, int y, int w,
                 const QString &label)
{
    const double s1 = findFittingFontSize(s.measuring(), upper, w, 300, QStringLiteral("宋体"), 12);
    const double s2 = findFittingFontSize(s.measuring(), lower, w, 300, QStringLiteral("宋体"), 12);
    s.setFontSize(qMin(s1, s2));
    fit(s, upper, x, y, w, 300, label);
    fit(s, lower, x, y + 300, w, 300, label);
    s.setFontSize(12);
}

// Every cell of a full two-page record with realistic texts: the fits,
// size searches, line counts and résumé of both pages.
void fillRecord(RecordingSurface &s)
{
    const int T = 1134, L = 850, B = 510;
    s.beginPage(1);
    s.setFontName(QStringLiteral("楷体"));
    s.setFontSize(12);
    fit(s, QStringLiteral("欧阳娜娜"), L + 936, T, 1134, 600, QStringLiteral("姓名"));
    fit(s, QStringLiteral("1968.10"), roundHalfEven(L + 5216.4), T, 1134, 300, QStringLiteral("出生年月"));
    fit(s, QStringLiteral("汉族"), L + 936, T + 616, 1134, 600, QStringLiteral("民族"));
    fit(s, QStringLiteral("江苏南京"), L + 2977, T + 616, 1134, 600, QStringLiteral("籍贯"));
    fit(s, QStringLiteral("内蒙古自治区呼和浩特市"), L + 5245, T + 616, 1134, 600, QStringLiteral("出生地"));
    fitTwoLines(s, QStringLiteral("民盟"), QStringLiteral("（1990.01）"), L + 907, T + 1216, 1134, QStringLiteral("入党时间"));
    fit(s, QStringLiteral("1990.07"), L + 2948, T + 1216, 1134, 600, QStringLiteral("参加工作时间"));
    fit(s, QStringLiteral("健康"), L + 5245, T + 1216, 1134, 600, QStringLiteral("健康状况"));
    fit(s, QStringLiteral("高级经济师（正高级）"), L + 964, T + 1816, 1984, 600, QStringLiteral("专业技术职务"));
    fit(s, QStringLiteral("宏观经济管理，区域发展规划，财政金融"), L + 4082, T + 1816, 2268, 600,
        QStringLiteral("熟悉专业有何专长"));
    fitTwoLines(s, QStringLiteral("大学"), QStringLiteral("经济学学士"), L + 2041, T + 2416, 2041, QStringLiteral("学历学位"));
    fitTwoLines(s, QStringLiteral("研究生"), QStringLiteral("经济学博士"), L + 2041, T + 3016, 2041, QStringLiteral("学历学位"));
    fitTextInAreaInTwoPointSteps(QStringLiteral("南京大学商学院国际经济贸易专业"), L + 5273, T + 2416, 2892, 600, s,
                       QStringLiteral("毕业院校及专业"), 1.0, HorizontalAlignment::Left);
    fitTextInAreaInTwoPointSteps(QStringLiteral("中共中央党校研究生院经济学专业"), L + 5273, T + 3016, 2892, 600, s,
                       QStringLiteral("毕业院校及专业"), 1.0, HorizontalAlignment::Left);
    const QString posts[] = {
        QStringLiteral("中共某某市委常委、市人民政府常务副市长，市发展和改革委员会主任（兼），市国有资产监督管理委员会党委书记"),
        QStringLiteral("某某省人民政府副秘书长、省发展和改革委员会党组书记、主任"),
        QStringLiteral("中共某某市委常委、市人民政府常务副市长职务"),
    };
    int rowTop = T + 3600;
    for (const QString &post : posts) {
        const WrappedLineCount counted = countWrappedLines(post, 25);
        const int n = post.size() - counted.pulled + counted.pushed;
        const int lines = n % 25 == 0 ? n / 25 : n / 25 + 1;
        const int h = 300 * qMax(lines, 2);
        fit(s, post, L + 2098, rowTop, 6067, h, QStringLiteral("现任职务"), HorizontalAlignment::Left);
        rowTop += h;
    }
    QStringList resume;
    for (int i = 0; i < 30; ++i)
        resume << QStringLiteral("%1.09--%2.07  某某省某某市人民政府办公厅综合处科员、副主任科员").arg(1980 + i).arg(1981 + i);
    printResume(resume.join(QStringLiteral("\r\n")), L + 1077, rowTop + 300, s, 0);

    s.beginPage(2);
    fit(s, QStringLiteral("2008年被评为全省优秀公务员；2012年荣立个人三等功；2015年获全国五一劳动奖章。"
                          "2018年因工作失误受到诫勉谈话，2019年影响期满。"),
        B + 850, T + 57, 7088, 1077, QStringLiteral("奖惩说明"), HorizontalAlignment::Left);
    fit(s, QStringLiteral("2019年、2020年年度考核均为优秀，2021年年度考核为称职。"), B + 850, T + 1261, 7088, 737,
        QStringLiteral("考核"), HorizontalAlignment::Left);
    fit(s, QStringLiteral("工作需要，经市委常委会议研究决定，拟提名为某某市人民政府副市长人选，"
                          "按有关程序办理。同意免去其现任职务。"),
        B + 850, T + 2098, 7088, 1077, QStringLiteral("任免理由"), HorizontalAlignment::Left);
    const QString family[7][5] = {
        {QStringLiteral("妻子"), QStringLiteral("李晓梅"), QStringLiteral("52"), QStringLiteral("中共党员"), QStringLiteral("某某市第一人民医院内科主任医师")},
        {QStringLiteral("儿子"), QStringLiteral("欧阳明"), QStringLiteral("25"), QStringLiteral("共青团员"), QStringLiteral("北京市海淀区中关村南大街5号中国科学院计算技术研究所博士研究生")},
        {QStringLiteral("父亲"), QStringLiteral("欧阳建国"), QStringLiteral("80"), QStringLiteral("中共党员"), QStringLiteral("某某县农业局退休干部")},
        {QStringLiteral("母亲"), QStringLiteral("王秀英"), QStringLiteral("78"), QStringLiteral("群众"), QStringLiteral("某某县纺织厂退休工人")},
        {QStringLiteral("岳父"), QStringLiteral("李德胜"), QStringLiteral("79"), QStringLiteral("中共党员"), QStringLiteral("某某市教育局退休干部")},
        {QStringLiteral("岳母"), QStringLiteral("赵淑芬"), QStringLiteral("77"), QStringLiteral("群众"), QStringLiteral("已故")},
        {QStringLiteral("女儿"), QStringLiteral("欧阳雪"), QStringLiteral("20"), QStringLiteral("共青团员"), QStringLiteral("南京大学商学院学生")},
    };
    for (int k = 0; k < 7; ++k) {
        const int y = T + 3860 + 600 * k;
        fit(s, family[k][0], B + 680, y, 964, 600, QStringLiteral("家庭成员称谓"));
        fit(s, family[k][1], B + 1588, y, 1134, 600, QStringLiteral("家庭成员姓名"));
        fit(s, family[k][2], B + 2750, y, 397, 600, QStringLiteral("家庭成员年龄"));
        const QString status = family[k][3];
        if (status.size() == 4) {
            fit(s, status.left(2), B + 3175, y, 907, 300, QStringLiteral("家庭成员政治面貌"));
            fit(s, status.right(2), B + 3175, y + 300, 907, 300, QStringLiteral("家庭成员政治面貌"));
        } else {
            fit(s, status, B + 3175, y, 907, 600, QStringLiteral("家庭成员政治面貌"));
        }
        fit(s, family[k][4], B + 4139, y, 3969, 600, QStringLiteral("家庭成员工作单位"), HorizontalAlignment::Left);
    }
    fit(s, QStringLiteral("中共某某省委组织部（干部一处）"), B + 567, T + 8789, 6691, 227, QStringLiteral("呈报单位"), HorizontalAlignment::Left);
}

// The first record of a run also creates the measuring surface and its
// fonts; registered first so that it runs cold.
void BM_FirstRecordFit(benchmark::State &state)
{
    for (auto _ : state) {
        RecordingSurface s;
        fillRecord(s);
    }
}

void BM_FullRecordFit(benchmark::State &state)
{
    RecordingSurface s;
    fillRecord(s);   // warm the measuring caches once, as a running program has
    for (auto _ : state) {
        s.clear();
        fillRecord(s);
    }
    state.counters["ops"] = s.ops().size();
    state.counters["messages"] = s.messages().size();
}

BENCHMARK(BM_FirstRecordFit)->Unit(benchmark::kMicrosecond)->Iterations(1);
BENCHMARK(BM_Break300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Break300Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRecordFit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
