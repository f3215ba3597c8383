// The photo dialog on the record's photo values, with scripted file dialogs.
#include "windows/PhotoDialog.h"
#include "support/GuiTestSupport.h"
#include <QLabel>
#include <sys/stat.h>

class TestPhotoDialog : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QImage sample(QColor colour) { return filledImage(60, 80, colour); }
    static bool showsImage(const PhotoDialog &dlg) { return !dlg.imgPhoto->pixmap().isNull(); }
    // A record with a red photo attached from "/somewhere/a.pic".
    static AppointmentRecord withPhoto()
    {
        AppointmentRecord rec;
        rec.photo = sample(Qt::red);
        rec.hasPhoto = true;
        rec.photoPath = QStringLiteral("/somewhere/a.pic");
        return rec;
    }

private slots:
    void initTestCase()
    {
        // The content decides, not the name.
        QVERIFY(m_dir.isValid() && sample(Qt::red).save(path("red.bmp"), "BMP") && sample(Qt::blue).save(path("other.pic"), "JPEG")
                && sample(Qt::green).save(path("green.jpg"), "PNG") && writeBytes(path("broken.jpg"), "this is no picture at all")
                && QDir(m_dir.path()).mkdir(QStringLiteral("folder.jpg")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe.pic")).constData(), 0600), 0);   // reading would hang
    }

    void choose_data()
    {
        QTest::addColumn<QString>("file");   // empty: the file dialog cancelled
        QTest::addColumn<QColor>("colour");  // invalid: nothing chosen
        QTest::addColumn<QString>("said");   // nothing chosen: the message ("%1" the file), or none
        QTest::newRow("bmp") << "red.bmp" << QColor(Qt::red) << "";
        QTest::newRow("jpeg as .pic") << "other.pic" << QColor(Qt::blue) << "";
        QTest::newRow("png named .jpg") << "green.jpg" << QColor(Qt::green) << "";
        QTest::newRow("cancel") << "" << QColor() << "";
        QTest::newRow("undecodable") << "broken.jpg" << QColor() << "文件“%1”已损坏或不是图片，照片没有改变。";
        QTest::newRow("missing file") << "nowhere.bmp" << QColor() << "照片文件“%1”无法读取，照片没有改变。";
        QTest::newRow("folder") << "folder.jpg" << QColor() << "“%1”不是普通文件，不能作为照片！";
        QTest::newRow("pipe") << "pipe.pic" << QColor() << "“%1”不是普通文件，不能作为照片！";
    }
    void choose()
    {
        QFETCH(QString, file);
        QFETCH(QColor, colour);
        AppointmentRecord rec = withPhoto();
        ScriptedInteraction ui;
        ui.fileNames << (file.isEmpty() ? QString() : path(file));
        PhotoDialog dlg(rec, ui);
        QTest::mouseClick(dlg.cmdPhoto, Qt::LeftButton);
        QVERIFY(ui.shown[0].kind == ScriptedInteraction::Shown::OpenFile && ui.shown[0].title == QStringLiteral("请指定照片文件名")
                && ui.shown[0].text.startsWith(QStringLiteral("照片文件(*.bmp;*.jpg;*.pic)|*.bmp;*.jpg;*.pic")));
        QVERIFY(rec.hasPhoto && showsImage(dlg));
        if (!colour.isValid()) {   // the photo values stay as they were
            QFETCH(QString, said);
            QCOMPARE(ui.messageTexts(), said.isEmpty() ? QStringList() : QStringList{said.arg(path(file))});
            QVERIFY(said.isEmpty() || (ui.shown.last().title == QStringLiteral("系统") && ui.shown.last().icon == MessageIcon::Information));
            QVERIFY(!rec.isDirty && rec.photoPath == QStringLiteral("/somewhere/a.pic") && rec.photo.pixelColor(0, 0) == Qt::red);
            return;
        }
        QVERIFY(ui.shown.size() == 1 && rec.isDirty);
        QCOMPARE(rec.photoPath, QFileInfo(path(file)).absoluteFilePath());
        const QColor got = rec.photo.pixelColor(30, 40);
        QVERIFY2(qAbs(got.red() - colour.red()) < 8 && qAbs(got.green() - colour.green()) < 8
                     && qAbs(got.blue() - colour.blue()) < 8, qPrintable(got.name()));
        QVERIFY(showsImage(PhotoDialog(rec, ui)));   // opened again, it shows the chosen photo
    }

    void clear()
    {
        AppointmentRecord none;
        ScriptedInteraction ui;
        PhotoDialog empty(none, ui);
        QVERIFY(!showsImage(empty));
        QTest::mouseClick(empty.cmdCls, Qt::LeftButton);
        QVERIFY(!none.isDirty && !none.hasPhoto);   // nothing to remove: no change

        AppointmentRecord rec = withPhoto();
        PhotoDialog dlg(rec, ui);
        QTest::mouseClick(dlg.cmdCls, Qt::LeftButton);   // asked once: No keeps it
        QVERIFY(rec.hasPhoto && !rec.isDirty && showsImage(dlg) && ui.shown.size() == 1);
        ui.answers << Answer::Yes;
        QTest::mouseClick(dlg.cmdCls, Qt::LeftButton);
        QVERIFY(!rec.hasPhoto && rec.isDirty && !showsImage(dlg) && ui.shown.size() == 2);
        // The picture and its path stay, unused while no photo is attached.
        QVERIFY(!rec.photo.isNull() && rec.photoPath == QStringLiteral("/somewhere/a.pic"));
        dlg.show();
        QTest::mouseClick(dlg.cmdExit, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(TestPhotoDialog)
#include "tst_photodialog.moc"
