#pragma once
#include "foundation/Interaction.h"
#include "record/AppointmentRecord.h"
#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

// The photo dialog "照片": shows, chooses and removes the cadre's photo. It
// works directly on the record's photo values and marks the record changed.
class PhotoDialog : public QDialog {
    Q_OBJECT
public:
    PhotoDialog(AppointmentRecord &record, Interaction &ui, QWidget *parent = nullptr);

    void choosePhoto();   // "照  片": choose a file
    void removePhoto();     // "清  除": remove the photo
    void closeDialog();    // "返  回"

    // Attaches the picture in `path` to the record after the same checks as
    // choosing it here (a dropped file); a file that is no picture is said
    // and changes nothing. True when attached.
    static bool attachPhotoFile(AppointmentRecord &record, const QString &path, Interaction &ui);

    // Title and filter of the file dialog.
    static QString fileDialogTitle();
    static QString fileDialogFilter();

    QLabel *imgPhoto = nullptr;
    QPushButton *cmdPhoto = nullptr;
    QPushButton *cmdCls = nullptr;
    QPushButton *cmdExit = nullptr;

private:
    void showPhoto();

    AppointmentRecord &m_record;
    Interaction &m_ui;
};
