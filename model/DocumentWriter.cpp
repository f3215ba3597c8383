#include "model/DocumentWriter.h"
#include "layout/TextRules.h"
#include "model/DocumentItems.h"

#include "app/SafeFile.h"

#include <QFileDevice>

QStringList DocumentWriter::items(const RendererVars &v, const QString &compactPartyText)
{
    const QString dot = QStringLiteral(".");
    return {
        v.name, v.sex, removeChar(v.birthDate, dot), v.ethnicGroup, v.nativePlace,
        compactPartyText, v.health, v.birthPlace, removeChar(v.workStartDate, dot),
        v.educationItems, v.schoolItems, v.professionalTitle,
        QString(), QString(), QString(), QString(),   // the wage items stay empty
        v.specialities, v.resume, v.rewardsAndPunishments, v.appraisalResults,
        v.familyRelations, v.familyNames, v.familyBirthDates, v.familyPoliticalStatus, v.familyWorkplaces,
        v.currentPosts, v.proposedPosts, v.postsToBeRemoved, v.reasonForAppointment, v.reportingUnit, v.ageReferenceDate, v.filledBy,
    };
}

QByteArray DocumentWriter::bytes(const RendererVars &vars, const QString &compactPartyText)
{
    return encodeDocumentItems(items(vars, compactPartyText));
}

bool DocumentWriter::write(QIODevice &device, const RendererVars &vars, const QString &compactPartyText)
{
    m_error.clear();
    m_errorNumber = 0;
    const QByteArray data = bytes(vars, compactPartyText);
    if (data.isEmpty()) {
        m_error = QStringLiteral("系统缺少 GB18030 文字编码支持");
        m_errorNumber = QFileDevice::UnspecifiedError;
        return false;
    }
    if (device.write(data) != data.size()) {
        m_error = device.errorString();
        if (auto *file = qobject_cast<QFileDevice *>(&device))
            m_errorNumber = file->error();
        if (m_errorNumber == 0)
            m_errorNumber = QFileDevice::WriteError;
        return false;
    }
    return true;
}

bool DocumentWriter::writeFile(const QString &path, const RendererVars &vars, const QString &compactPartyText)
{
    SafeFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !write(file, vars, compactPartyText) || !file.commit()) {
        if (file.osError() != 0) {
            m_error = file.errorString();
            m_errorNumber = file.osError();
        }
        file.cancelWriting();
        return false;
    }
    return true;
}
