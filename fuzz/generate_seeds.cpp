// Writes the fuzz seed corpus into the folder given as the argument.
#include "foundation/Clock.h"
#include "fuzz/FuzzKinds.h"
#include "record/DocumentItems.h"
#include "record/DocumentWriter.h"
#include "record/RecoveryStore.h"
#include "record/RendererHandoff.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QString g_folder;
int g_count = 0;

void seed(DocumentKind kind, const QByteArray &document)
{
    QFile file(g_folder + QStringLiteral("/seed-%1").arg(++g_count, 3, 10, QLatin1Char('0')));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray(1, fuzzKindByte(kind)));
        file.write(document);
    }
}

AppointmentRecord sampleRecord()
{
    AppointmentRecord r;
    r.name = QStringLiteral("张 \"三\"");
    r.sex = QStringLiteral("男");
    r.birthDate = QStringLiteral("1960.01");
    r.ethnicGroup = QStringLiteral("汉族");
    r.nativePlace = QStringLiteral("河北石家庄");
    r.partyMembership = QStringLiteral("民盟；1985.07；致公党；");
    r.health = QStringLiteral("健康");
    r.birthPlace = QStringLiteral("北京");
    r.workStartDate = QStringLiteral("1982秋");
    r.fullTimeEducation = QStringLiteral("大学");
    r.fullTimeDegree = QStringLiteral("工学学士");
    r.inServiceEducation = QStringLiteral("研究生");
    r.fullTimeSchool = QStringLiteral("清华大学");
    r.inServiceSpeciality = QStringLiteral("管理学");
    r.professionalTitle = QStringLiteral("高级工程师");
    r.currentPosts = QStringLiteral("某局副局长");
    r.proposedPosts = QStringLiteral("某局局长");
    r.resume = QStringLiteral("1978.09--1982.07  清华大学学习\r\n                  （其间：\"优秀\"）\r\n1982.07--  某局");
    r.rewardsAndPunishments = QStringLiteral("无");
    r.appraisalResults = QStringLiteral("2021年称职，2022年优秀");
    r.familyRelations = {QStringLiteral("妻子"), QStringLiteral("儿子"), {}, {}, {}, {}, QStringLiteral("父亲")};
    r.familyNames = {QStringLiteral("李 四"), QStringLiteral("张\xE5E5五"), {}, {}, {}, {}, QStringLiteral("张一")};
    r.familyBirthDates = {QStringLiteral("196203"), QStringLiteral("1990"), {}, {}, {}, {}, QStringLiteral("1930")};
    r.reportingUnit = QStringLiteral("某市委组织部");
    r.ageReferenceDate = QStringLiteral("20240506");
    r.fillingDate = QStringLiteral("20240506");
    r.filledBy = QStringLiteral("王 五");
    return r;
}

QStringList items(int count, const QString &prefix)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << prefix + QString::number(i);
    return list;
}

} // namespace

// A camera-sized JPEG with detail all over, so that decoding it takes real work.
int writePhoto(int width, int height, const char *path)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 2000; ++i) {
        painter.setPen(QColor::fromHsv(i * 37 % 360, 200, 200));
        painter.drawLine(i * 7 % width, i * 13 % height, i * 29 % width, i * 3 % height);
    }
    painter.end();
    return image.save(QString::fromLocal8Bit(path), "JPEG", 90) ? 0 : 1;
}

// Recovery copies as the store writes them, then with damage of the kinds
// a crash or another version leaves.
int writeRecoverySeeds()
{
    AppointmentRecord r = sampleRecord();
    r.hasPhoto = true;
    r.photoPath = QStringLiteral("/home/clerk/照片/张三.jpg");
    const QByteArray full = RecoveryStore::copyBytes(r, QStringLiteral("/home/clerk/张三.dwz"));
    const QList<QByteArray> seeds = {full, RecoveryStore::copyBytes(AppointmentRecord(), QString()),
                                     full.left(full.size() / 2), QByteArray(full).replace("\"format\": 1", "\"format\": 2"),
                                     QByteArray("{\"format\": 1, \"fields\": {\"txtName\": [1, 2], \"txtChengwei\": \"a\"}}")};
    for (const QByteArray &bytes : seeds) {
        QFile file(g_folder + QStringLiteral("/copy-%1").arg(++g_count, 3, 10, QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--photo") == 0)
        return writePhoto(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    const bool recovery = argc == 3 && std::strcmp(argv[1], "--recovery") == 0;
    if (argc < 2 || (argc == 3 && !recovery)) {
        std::fprintf(stderr, "usage: %s FOLDER | --recovery FOLDER | --photo WIDTH HEIGHT OUT.jpg\n", argv[0]);
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[argc - 1]);
    if (recovery) {
        QDir().mkpath(g_folder);
        return writeRecoverySeeds();
    }
    QDir().mkpath(g_folder);
    Clock::setToday(QDate(2024, 5, 6));

    AppointmentRecord r = sampleRecord();
    RendererVars vars;
    fillRendererVars(r, vars);
    const QByteArray full = dwzDocumentBytes(vars, r.compactPartyText).value();
    seed(DocumentKind::Dwz, full);
    QStringList dwz31 = dwzDocumentItems(vars, r.compactPartyText);
    dwz31.removeLast();
    seed(DocumentKind::Dwz, encodeDocumentItems(dwz31).value());
    AppointmentRecord empty;
    RendererVars emptyVars;
    fillRendererVars(empty, emptyVars);
    seed(DocumentKind::Dwz, dwzDocumentBytes(emptyVars, empty.compactPartyText).value());

    QStringList ren = items(34, QStringLiteral("项"));
    ren[5] = QStringLiteral("1985.07");
    ren[6] = QString();
    ren[7] = QStringLiteral("民盟");
    ren[12] = QStringLiteral("大学#学士@#");
    ren[23] = QStringLiteral("妻子@儿子@@@@@@@@");
    seed(DocumentKind::Ren, encodeDocumentItems(ren).value());
    ren[5] = QString();
    ren[6] = QStringLiteral("1985");
    seed(DocumentKind::Ren, encodeDocumentItems(ren).value());

    QStringList brief = items(32, QStringLiteral("简"));
    brief[3] = QStringLiteral("7");
    brief[6] = QStringLiteral("1985.07");
    brief[7] = QStringLiteral("中共");
    brief[8] = QString();
    brief[9] = QString();
    brief[22] = QStringLiteral("1@2@3@4@5@6@7@8@9@");
    QByteArray briefBytes = encodeDocumentItems(brief).value();
    briefBytes.replace("\"7\"", "7");   // the whole number stands bare
    seed(DocumentKind::Ljy, briefBytes);
    seed(DocumentKind::Jan, briefBytes);

    // The same document as another editor would save it.
    const QString text = decodeDocumentText(full).value().text;
    seed(DocumentKind::Dwz, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    seed(DocumentKind::Dwz, text.toUtf8());
    seed(DocumentKind::Dwz, QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));

    seed(DocumentKind::Dwz, QByteArray("\"unterminated,\"a\",\"b"));
    seed(DocumentKind::Ren, QByteArray("\"a\",b , \"c\"x,\r\n\"d\"\r\n"));
    std::printf("%d seeds written to %s\n", g_count, argv[1]);
    return 0;
}
