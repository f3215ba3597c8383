#pragma once
#include "layout/DrawingSurface.h"
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"
#include "record/PageMargins.h"
#include <QImage>

enum class HorizontalAlignment;   // layout/CellFitting.h

// The two pages of the printed form, drawn from the renderer variables onto
// any DrawingSurface. Each fill method puts one field into its cell; the
// label each field's cell shows is in record/FieldSchema.h.
class FormPages : public RendererVars {
public:
    PageMargins margins;
    QImage photoPicture;
    bool hasPhoto = false;

    // The record's photo values, as page one draws them.
    void takePhoto(const AppointmentRecord &record)
    {
        hasPhoto = record.hasPhoto;
        photoPicture = record.hasPhoto ? record.photo : QImage();
    }

    // Pens in twips: the frame and the grid weigh the same on the preview,
    // in a PDF and on any printer (1.5 and 0.75 points).
    static constexpr double kThickPen = 30;
    static constexpr double kThinPen = 15;
    void drawPageOne(DrawingSurface &surface);
    void drawPageTwo(DrawingSurface &surface);

    // Renderer state of page one, recomputed by every run of drawPageOne.
    int currentPostsLines = 0, proposedPostsLines = 0, postsToBeRemovedLines = 0;
    int currentPostsBottom = 0, proposedPostsBottom = 0, postsToBeRemovedBottom = 0;
    int cellLeft = 0, cellTop = 0, cellWidth = 0, cellHeight = 0;
    QString cellLabel;

    // Page one fill methods
    void fillName(DrawingSurface &surface);
    void fillSex(DrawingSurface &surface);
    void fillBirthDate(DrawingSurface &surface);
    void fillAge(DrawingSurface &surface);
    void fillEthnicGroup(DrawingSurface &surface);
    void fillNativePlace(DrawingSurface &surface);
    void fillPartyMembership(DrawingSurface &surface);
    void fillHealth(DrawingSurface &surface);
    void fillBirthPlace(DrawingSurface &surface);
    void fillWorkStartDate(DrawingSurface &surface);
    void fillEducationLevels(DrawingSurface &surface);
    void fillSchools(DrawingSurface &surface);
    void fillProfessionalTitle(DrawingSurface &surface);
    void fillSpecialities(DrawingSurface &surface);
    void fillCurrentPosts(DrawingSurface &surface);
    void fillProposedPosts(DrawingSurface &surface);
    void fillPostsToBeRemoved(DrawingSurface &surface);
    void fillResume(DrawingSurface &surface);
    void fillPartyCell(DrawingSurface &surface, const QString &partyTime, const QString &party1,
                   const QString &party2, const QString &party3);

    // Page two fill methods
    void fillRewardsAndPunishments(DrawingSurface &surface);
    void fillAppraisalResults(DrawingSurface &surface);
    void fillReasonForAppointment(DrawingSurface &surface);
    void fillFamilyRelations(DrawingSurface &surface);
    void fillFamilyNames(DrawingSurface &surface);
    void fillFamilyAges(DrawingSurface &surface);
    void fillFamilyPoliticalStatus(DrawingSurface &surface);
    void fillFamilyWorkplaces(DrawingSurface &surface);
    void fillReportingUnit(DrawingSurface &surface);

    // Where the résumé's lines start below the position rows, and how far
    // they may run to the table's right edge, in twips.
    int resumeTop() const;
    double resumeRoom() const;
    static constexpr double kResumeIndent = 1077.3;   // from the table's left edge

    // Lines of 25 characters a position-row text takes (step 4 of page one).
    static int positionRowLines(const QString &text);
    // Texts as page one prints them: a date dotted ("1960.05"; a period
    // word such as "1985春" without dots), the age in years counted to the
    // age reference date (empty when none can be counted), the party join
    // date of the party cell.
    static QString printedDate(const QString &raw);
    QString printedAge() const;
    static QString printedPartyDate(const QString &joinDate);
    // The names line of the party cell built from the three party names.
    static QString partyNamesLine(const QString &party1, const QString &party2, const QString &party3);

private:
    void setCell(double x, double y, int w, int h, const QString &label);
    void fitCell(DrawingSurface &surface, const QString &text, HorizontalAlignment hAlign, int textLeft);
    void fitIndentedCell(DrawingSurface &surface, const QString &text, double cellX, double cellY,
                         const QString &label);
    void fillEducation(DrawingSurface &surface, const QString &item, double cellX, int w,
                       const QString &label, bool schoolColumn);
    void fillEducationRow(DrawingSurface &surface, const QString &row, int y, bool schoolColumn);
    void fillPositionRow(DrawingSurface &surface, const QString &text, int top, int height,
                         const QString &label);
    void fitFamilyCell(DrawingSurface &surface, const QString &text, double cellX, int k, int w,
                       const QString &label, HorizontalAlignment hAlign);
};
