#pragma once
#include "layout/DrawingSurface.h"
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"
#include "record/PageMargins.h"
#include <QImage>

// The two pages of the printed form, drawn from the renderer variables onto
// any DrawingSurface. Page one is `预览`, page two `DRAWTHEPHOTO`; each fill
// method puts one field into its cell.
class FormPages : public RendererVars {
public:
    PageMargins margins;
    QImage photoPicture;
    bool hasPhoto = false;

    // The record's photo values, as page one draws them.
    void takePhoto(const AppointmentRecord &record)
    {
        hasPhoto = record.HasPhoto;
        photoPicture = record.HasPhoto ? record.PhotoPicture : QImage();
    }

    void 预览(DrawingSurface &OBJECTS, int XIANKUAN1, int XIANKUAN2);
    void DRAWTHEPHOTO(DrawingSurface &OBJECTS, int XIANKUAN1, int XIANKUAN2);

    // Renderer state of page one, recomputed by every run of 预览.
    int XianRenLines = 0, NiRenLines = 0, NiMianLines = 0;
    int XianRenBottom = 0, NiRenBottom = 0, NiMianBottom = 0;
    int CellLeft = 0, CellTop = 0, CellWidth = 0, CellHeight = 0;
    QString CellLabel;

    // Page one fill methods
    void FILLNAME(DrawingSurface &OBJECTS);
    void FILLSEX(DrawingSurface &OBJECTS);
    void FILLBIRTH(DrawingSurface &OBJECTS);
    void FILLAGE(DrawingSurface &OBJECTS);
    void FILLPEOPLE(DrawingSurface &OBJECTS);
    void FILLJIGUAN(DrawingSurface &OBJECTS);
    void FILLPARTYTIME(DrawingSurface &OBJECTS);
    void FILLHEALTH(DrawingSurface &OBJECTS);
    void FILLBIRTHDI(DrawingSurface &OBJECTS);
    void FILLWORKTIME(DrawingSurface &OBJECTS);
    void FILLXUELI(DrawingSurface &OBJECTS);
    void FILLBIYE(DrawingSurface &OBJECTS);
    void FILLXUEWEI(DrawingSurface &OBJECTS);
    void FILLSHUXI(DrawingSurface &OBJECTS);
    void FILLXIANREN(DrawingSurface &OBJECTS);
    void FILLNIREN(DrawingSurface &OBJECTS);
    void FILLNIMIAN(DrawingSurface &OBJECTS);
    void FILLJIANLI(DrawingSurface &OBJECTS);
    void FillParty(DrawingSurface &OBJECTS, const QString &partyTime, const QString &party1,
                   const QString &party2, const QString &party3);
    void setPartyValue(const QString &partyText);

    // Page two fill methods
    void FILLJIANGCHENG(DrawingSurface &OBJECTS);
    void FILLKAOHE(DrawingSurface &OBJECTS);
    void FILLRENMIAN(DrawingSurface &OBJECTS);
    void FILLCHENWEI(DrawingSurface &OBJECTS);
    void FILLXINGMING(DrawingSurface &OBJECTS);
    void FILLNIANLING(DrawingSurface &OBJECTS);
    void FILLMIANMAO(DrawingSurface &OBJECTS);
    void FILLDANWEI(DrawingSurface &OBJECTS);
    void FILLCHENGBAO(DrawingSurface &OBJECTS);

    // Lines of 25 characters a position-row text takes (step 4 of page one).
    static int positionRowLines(const QString &text);
    // The names line of the party cell built from the three party names.
    static QString partyNamesLine(const QString &party1, const QString &party2, const QString &party3);

private:
    void setCell(double x, double y, int w, int h, const QString &label);
    void fitCell(DrawingSurface &OBJECTS, const QString &text, int hAlign, int textLeft);
    void fitIndentedCell(DrawingSurface &OBJECTS, const QString &text, double cellX, double cellY,
                         const QString &label);
    void fillEducation(DrawingSurface &OBJECTS, const QString &item, double cellX, int w,
                       const QString &label, bool schoolColumn);
    void fillEducationRow(DrawingSurface &OBJECTS, const QString &row, int y, bool schoolColumn);
    void fillPositionRow(DrawingSurface &OBJECTS, const QString &text, int top, int height,
                         const QString &label);
    void fitFamilyCell(DrawingSurface &OBJECTS, const QString &text, double cellX, int k, int w,
                       const QString &label, int hAlign);
};
