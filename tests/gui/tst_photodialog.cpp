// The photo dialog on the record's photo values, with scripted file dialogs.
#include "app/ScriptedInteraction.h"
#include "app/gui/PhotoDialog.h"
#include "layout/RecordingSurface.h"
#include "model/AppointmentRecord.h"
#include "render/FormPages.h"
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class PhotoDialogTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QImage sample(QColor colour, int w = 60, int h = 80)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(colour);
        return img;
    }
    static bool labelShowsImage(const QLabel *label)
    {
        return !label->pixmap().isNull();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(sample(Qt::red).save(path("red.bmp"), "BMP"));
        // A JPEG under the companion extension and a PNG under ".jpg": the
        // content decides, not the name.
        QVERIFY(sample(Qt::blue).save(path("other.pic"), "JPEG"));
        QVERIFY(sample(Qt::green).save(path("green.jpg"), "PNG"));
        QFile junk(path("broken.jpg"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is no picture at all");
    }

    void captionsAndTitle()
    {
        AppointmentRecord rec;
        ScriptedInteraction ui;
        frmPhotoView dlg(rec, ui);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("照片"));
        QCOMPARE(dlg.cmdPhoto->text(), QStringLiteral("照  片"));
        QCOMPARE(dlg.cmdCls->text(), QStringLiteral("清  除"));
        QCOMPARE(dlg.cmdExit->text(), QStringLiteral("返  回"));
        QVERIFY(!labelShowsImage(dlg.imgPhoto));
    }

    void choosePhoto_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("bmp") << "red.bmp" << QColor(Qt::red);
        QTest::newRow("jpeg as .pic") << "other.pic" << QColor(Qt::blue);
        QTest::newRow("png named .jpg") << "green.jpg" << QColor(Qt::green);
    }
    void choosePhoto()
    {
        QFETCH(QString, file);
        QFETCH(QColor, colour);
        AppointmentRecord rec;
        ScriptedInteraction ui;
        ui.fileNames << path(file);
        frmPhotoView dlg(rec, ui);
        QTest::mouseClick(dlg.cmdPhoto, Qt::LeftButton);

        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(ui.shown[0].kind, ScriptedInteraction::Shown::OpenFile);
        QCOMPARE(ui.shown[0].title, QStringLiteral("请指定照片文件名"));
        QVERIFY(ui.shown[0].text.startsWith(
            QStringLiteral("照片文件(*.bmp;*.jpg;*.pic)|*.bmp;*.jpg;*.pic")));
        QVERIFY(rec.HasPhoto);
        QVERIFY(rec.dirtyFlag);
        QCOMPARE(rec.PhotoPath, QFileInfo(path(file)).absoluteFilePath());
        QCOMPARE(rec.PhotoPicture.size(), QSize(60, 80));
        const QColor got = rec.PhotoPicture.pixelColor(30, 40);
        QVERIFY2(qAbs(got.red() - colour.red()) < 8 && qAbs(got.blue() - colour.blue()) < 8
                     && qAbs(got.green() - colour.green()) < 8,
                 qPrintable(got.name()));
        QVERIFY(labelShowsImage(dlg.imgPhoto));
    }

    void cancelAndUndecodableKeepThePhoto_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("cancel") << QString();
        QTest::newRow("undecodable") << "broken.jpg";
        QTest::newRow("missing file") << "nowhere.bmp";
    }
    void cancelAndUndecodableKeepThePhoto()
    {
        QFETCH(QString, answer);
        AppointmentRecord rec;
        rec.PhotoPicture = sample(Qt::red);
        rec.HasPhoto = true;
        rec.PhotoPath = QStringLiteral("/somewhere/a.pic");
        ScriptedInteraction ui;
        ui.fileNames << (answer.isEmpty() ? QString() : path(answer));
        frmPhotoView dlg(rec, ui);
        dlg.cmdPhoto_Click();

        QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("你没有选择任何照片！")});
        QCOMPARE(ui.shown.last().title, QStringLiteral("系统"));
        QCOMPARE(ui.shown.last().icon, MessageIcon::Information);
        QVERIFY(rec.HasPhoto);
        QVERIFY(!rec.dirtyFlag);
        QCOMPARE(rec.PhotoPath, QStringLiteral("/somewhere/a.pic"));
        QCOMPARE(rec.PhotoPicture.pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(labelShowsImage(dlg.imgPhoto));
    }

    void clearWithAndWithoutPhoto()
    {
        AppointmentRecord rec;
        ScriptedInteraction ui;
        {
            frmPhotoView dlg(rec, ui);
            QTest::mouseClick(dlg.cmdCls, Qt::LeftButton);
            QVERIFY(!rec.dirtyFlag);
            QVERIFY(!rec.HasPhoto);
        }
        rec.PhotoPicture = sample(Qt::red);
        rec.HasPhoto = true;
        rec.PhotoPath = path("red.bmp");
        frmPhotoView dlg(rec, ui);
        QVERIFY(labelShowsImage(dlg.imgPhoto));
        QTest::mouseClick(dlg.cmdCls, Qt::LeftButton);
        QVERIFY(!rec.HasPhoto);
        QVERIFY(rec.dirtyFlag);
        QVERIFY(!labelShowsImage(dlg.imgPhoto));
        // The picture and its path stay, unused while no photo is attached.
        QVERIFY(!rec.PhotoPicture.isNull());
        QCOMPARE(rec.PhotoPath, path("red.bmp"));
        QVERIFY(QFile::exists(path("red.bmp")));
        QVERIFY(ui.shown.isEmpty());
    }

    void reopeningShowsTheChosenPhotoAndReturnCloses()
    {
        AppointmentRecord rec;
        ScriptedInteraction ui;
        ui.fileNames << path("red.bmp");
        {
            frmPhotoView dlg(rec, ui);
            dlg.cmdPhoto_Click();
        }
        frmPhotoView again(rec, ui);
        QVERIFY(labelShowsImage(again.imgPhoto));
        again.show();
        QTest::mouseClick(again.cmdExit, Qt::LeftButton);
        QVERIFY(!again.isVisible());
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QVERIFY(rec.HasPhoto);
    }

    void chosenPhotoReachesPageOne()
    {
        AppointmentRecord rec;
        ScriptedInteraction ui;
        ui.fileNames << path("other.pic");
        frmPhotoView dlg(rec, ui);
        dlg.cmdPhoto_Click();

        FormPages pages;
        pages.photoPicture = rec.PhotoPicture;
        pages.hasPhoto = rec.HasPhoto;
        RecordingSurface surface;
        pages.预览(surface, 4, 2);
        int pictures = 0;
        for (const auto &op : surface.ops())
            if (op.kind == RecordingSurface::Op::Picture)
                ++pictures;
        QCOMPARE(pictures, 1);

        pages.hasPhoto = false;   // cleared: the box shows no picture
        surface.clear();
        pages.预览(surface, 4, 2);
        for (const auto &op : surface.ops())
            QVERIFY(op.kind != RecordingSurface::Op::Picture);
    }
};

QTEST_MAIN(PhotoDialogTest)
#include "tst_photodialog.moc"
