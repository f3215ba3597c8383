// Documents read and written per second, in memory and through files.
#include "foundation/Clock.h"
#include "record/DocumentKind.h"
#include "record/DocumentReader.h"
#include "record/DocumentWriter.h"
#include "foundation/SafeFile.h"
#include "record/RendererHandoff.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

AppointmentRecord typicalRecord()
{
    AppointmentRecord r;
    r.name = QStringLiteral("张三");
    r.sex = QStringLiteral("男");
    r.birthDate = QStringLiteral("196001");
    r.ethnicGroup = QStringLiteral("汉族");
    r.nativePlace = QStringLiteral("河北石家庄");
    r.partyMembership = QStringLiteral("198507");
    r.health = QStringLiteral("健康");
    r.birthPlace = QStringLiteral("北京");
    r.workStartDate = QStringLiteral("198207");
    r.fullTimeEducation = QStringLiteral("大学");
    r.fullTimeDegree = QStringLiteral("工学学士");
    r.fullTimeSchool = QStringLiteral("清华大学土木工程系");
    r.fullTimeSpeciality = QStringLiteral("结构工程专业");
    r.professionalTitle = QStringLiteral("高级工程师");
    r.currentPosts = QStringLiteral("某市交通运输局副局长、党组成员");
    r.proposedPosts = QStringLiteral("某市交通运输局局长");
    r.postsToBeRemoved = QStringLiteral("某市交通运输局副局长");
    QString resume;
    for (int i = 0; i < 12; ++i)
        resume += QStringLiteral("1982.07--1990.03  某市交通运输局科员、副科长、科长\r\n                  （其间：1986.09--1989.07在职攻读硕士学位）\r\n");
    r.resume = resume;
    r.rewardsAndPunishments = QStringLiteral("2015年记三等功一次");
    r.appraisalResults = QStringLiteral("2021年、2022年、2023年年度考核均为称职");
    r.reasonForAppointment = QStringLiteral("工作需要");
    const QString names[] = {QStringLiteral("妻子"), QStringLiteral("儿子"), QStringLiteral("父亲"), QStringLiteral("母亲")};
    for (int i = 0; i < 4; ++i) {
        r.familyRelations[i] = names[i];
        r.familyNames[i] = QStringLiteral("李四");
        r.familyBirthDates[i] = QStringLiteral("196203");
        r.familyPoliticalStatus[i] = QStringLiteral("中共党员");
        r.familyWorkplaces[i] = QStringLiteral("某市第一中学教师");
    }
    r.reportingUnit = QStringLiteral("中共某市委组织部");
    r.ageReferenceDate = QStringLiteral("20240506");
    r.fillingDate = QStringLiteral("20240506");
    r.filledBy = QStringLiteral("王五");
    return r;
}

struct Prepared {
    RendererVars vars;
    QString party;
    QByteArray bytes;
    Prepared()
    {
        Clock::setToday(QDate(2024, 5, 6));
        AppointmentRecord r = typicalRecord();
        fillRendererVars(r, vars);
        party = r.compactPartyText;
        bytes = dwzDocumentBytes(vars, party).value();
    }
};

const Prepared &prepared()
{
    static const Prepared p;
    return p;
}

void BM_EncodeDocument(benchmark::State &state)
{
    const Prepared &p = prepared();
    for (auto _ : state) {
        benchmark::DoNotOptimize(dwzDocumentBytes(p.vars, p.party));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["bytes"] = double(p.bytes.size());
}

void BM_ReadFromMemory(benchmark::State &state)
{
    QByteArray bytes = prepared().bytes;
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        AppointmentRecord r;
        benchmark::DoNotOptimize(readDocument(buffer, DocumentKind::Dwz, r));
    }
    state.SetItemsProcessed(state.iterations());
}

// Hand-off and write, as the save command does it.
void BM_HandOffAndWriteToMemory(benchmark::State &state)
{
    const AppointmentRecord typed = typicalRecord();
    for (auto _ : state) {
        AppointmentRecord r = typed;
        RendererVars vars;
        fillRendererVars(r, vars);
        benchmark::DoNotOptimize(dwzDocumentBytes(vars, r.compactPartyText));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_WriteFile(benchmark::State &state)
{
    const Prepared &p = prepared();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dwz"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeFileSafely(path, dwzDocumentBytes(p.vars, p.party).value()));
    }
    state.SetItemsProcessed(state.iterations());
}

// The same bytes through a plain file without the temporary-file-and-sync
// step, to show what the safe replacement costs.
void BM_WriteFileUnsynced(benchmark::State &state)
{
    const Prepared &p = prepared();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dwz"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmark::DoNotOptimize(file.write(dwzDocumentBytes(p.vars, p.party).value()));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ReadFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dwz"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(prepared().bytes);
    }
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        AppointmentRecord r;
        benchmark::DoNotOptimize(readDocument(file, DocumentKind::Dwz, r));
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_EncodeDocument);
BENCHMARK(BM_ReadFromMemory);
BENCHMARK(BM_HandOffAndWriteToMemory);
BENCHMARK(BM_WriteFile)->UseRealTime();
BENCHMARK(BM_WriteFileUnsynced);
BENCHMARK(BM_ReadFile);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
