#include "app/AppInfo.h"
#include "app/Clock.h"
#include "app/ScriptedInteraction.h"
#include "entry/DocumentCommands.h"
#include "layout/ResumeLayout.h"
#include "model/DocumentItems.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kToday = QStringLiteral("20240506");

class CountingInteraction : public ScriptedInteraction {
public:
    void setBusy(bool busy) override
    {
        busyNow = busy;
        busyCalls += busy ? 1 : 0;
    }
    bool busyNow = false;
    int busyCalls = 0;

    QList<Shown::Kind> kinds() const
    {
        QList<Shown::Kind> out;
        for (const Shown &s : shown)
            out << s.kind;
        return out;
    }
};

// A record that passes every check.
AppointmentRecord validRecord()
{
    AppointmentRecord r;
    r.Name = QStringLiteral("张三");
    r.Sex = QStringLiteral("男");
    r.Birthday = QStringLiteral("196001");
    r.Rudang = QStringLiteral("198507");
    r.Worktime = QStringLiteral("198207");
    r.Xueli = QStringLiteral("大学");
    r.Chengwei[0] = QStringLiteral("妻子");
    r.csrq[0] = QStringLiteral("196203");
    r.Date = kToday;
    r.FillDate = kToday;
    r.NameFill = QStringLiteral("王五");
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString savedFolderSetting()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("preRMDir"),
                QStringLiteral("preRMDir"));
    return s.value(QStringLiteral("preRMDir/preRMDir")).toString();
}

} // namespace

class TestDocumentCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { Clock::setToday(QDate()); }

    void saveDialogFolderRemembered();
    void saveAddsExtension();
    void cancelInEachDialog();
    void savePromptAnswers();
    void replaceAskedOnlyForAnotherFile();
    void checkFailureStopsSave();
    void partyTextRejectedStopsSave();
    void closing();
    void failedLoadTakesNothing();

private:
    QTemporaryDir m_settings;
    QTemporaryDir m_docs;
};

void TestDocumentCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
}

void TestDocumentCommands::init()
{
    Clock::setToday(QDate(2024, 5, 6));
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("preRMDir"),
                QStringLiteral("preRMDir"));
    s.clear();
}

void TestDocumentCommands::saveDialogFolderRemembered()
{
    AppointmentRecord r = validRecord();
    r.dirtyFlag = true;
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    const QString path = m_docs.filePath(QStringLiteral("first.dwz"));
    ui.fileNames << path;
    QVERIFY(cmds.CmdSave_Click());
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].kind, ScriptedInteraction::Shown::SaveFile);
    QCOMPARE(ui.shown[0].title, QStringLiteral("请指定待存文件名"));
    QCOMPARE(ui.shown[0].text, AppInfo::programName() + QStringLiteral("报表 (.dwz)|*.dwz|所有文件 (*.*)|*.*"));
    QCOMPARE(ui.shown[0].startPath, QCoreApplication::applicationDirPath() + QLatin1Char('/') + AppInfo::programName());
    QVERIFY(!r.dirtyFlag);
    QVERIFY(QFile::exists(path));
    QCOMPARE(v.TNAME, QStringLiteral("张三"));
    QCOMPARE(savedFolderSetting(), m_docs.path());
    QCOMPARE(cmds.currentDocumentPath(), path);
    QCOMPARE(ui.busyCalls, 1);
    QVERIFY(!ui.busyNow);

    // The load dialog of this run starts where the last save went.
    ui.shown.clear();
    QVERIFY(!cmds.CmdDiaoru_Click());
    QCOMPARE(ui.shown[0].kind, ScriptedInteraction::Shown::OpenFile);
    QCOMPARE(ui.shown[0].title, QStringLiteral("请指定调入文件名"));
    QCOMPARE(ui.shown[0].text,
             QStringLiteral("任免审批表 (.dwz;.ren)|*.dwz;*.ren|简要情况表 (.ljy;.jan)|*.ljy;*.jan|所有文件 (*.*)|*.*"));
    QCOMPARE(ui.shown[0].startPath, path);

    // After a restart the save dialog still starts there; the load dialog
    // starts in the current folder until the first save.
    AppointmentRecord r2 = validRecord();
    CountingInteraction ui2;
    DocumentCommands restarted(r2, v, ui2);
    QVERIFY(!restarted.CmdDiaoru_Click());
    QCOMPARE(ui2.shown[0].startPath, QDir::currentPath());
    QVERIFY(!restarted.CmdSave_Click());
    QCOMPARE(ui2.shown[1].startPath, m_docs.path());
}

void TestDocumentCommands::saveAddsExtension()
{
    AppointmentRecord r = validRecord();
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    QImage photo(4, 4, QImage::Format_RGB32);
    photo.fill(Qt::red);
    const QString chosen = m_docs.filePath(QStringLiteral("photo.bmp"));
    QVERIFY(photo.save(chosen));
    r.HasPhoto = true;
    r.PhotoPath = chosen;
    r.PhotoPicture = photo;
    ui.fileNames << m_docs.filePath(QStringLiteral("noext"));
    QVERIFY(cmds.CmdSave_Click());
    QVERIFY(QFile::exists(m_docs.filePath(QStringLiteral("noext.dwz"))));
    QCOMPARE(readAll(m_docs.filePath(QStringLiteral("noext.pic"))), readAll(chosen));
    QVERIFY(!QFile::exists(m_docs.filePath(QStringLiteral("noext"))));
}

void TestDocumentCommands::cancelInEachDialog()
{
    AppointmentRecord r = validRecord();
    r.dirtyFlag = true;
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    QCOMPARE(cmds.save(), DocumentCommands::SaveResult::Cancelled);
    QVERIFY(r.dirtyFlag);
    QVERIFY(savedFolderSetting().isEmpty());
    QCOMPARE(ui.busyCalls, 0);

    int refreshed = 0;
    cmds.onRecordChanged = [&] { ++refreshed; };
    const AppointmentRecord before = r;
    r.dirtyFlag = false;
    QVERIFY(!cmds.CmdDiaoru_Click());
    QCOMPARE(r.NameFill, QString());   // emptied before the dialog
    r.NameFill = before.NameFill;
    QVERIFY(r.sameFields(before));
    QVERIFY(refreshed > 0);
    QCOMPARE(ui.busyCalls, 0);
}

void TestDocumentCommands::savePromptAnswers()
{
    // A document to load.
    const QString doc = m_docs.filePath(QStringLiteral("other.dwz"));
    {
        AppointmentRecord o = validRecord();
        o.Name = QStringLiteral("李四");
        RendererVars v;
        CountingInteraction ui;
        DocumentCommands cmds(o, v, ui);
        ui.fileNames << doc;
        QVERIFY(cmds.CmdSave_Click());
    }
    using K = ScriptedInteraction::Shown;
    AppointmentRecord r = validRecord();
    r.dirtyFlag = true;
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    int fontSize = 0;
    cmds.onResumeFontSize = [&](int size) { fontSize = size; };
    ResumeFontSize = 9;

    // Cancel: nothing happens, not even to the name of the person filling in.
    ui.answers << Answer::Cancel;
    QVERIFY(!cmds.CmdDiaoru_Click());
    QCOMPARE(ui.kinds(), QList<K::Kind>{K::Question});
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统"));
    QCOMPARE(ui.shown[0].text, QStringLiteral("当前任免文件内容已改变\r\n需要保存吗?"));
    QCOMPARE(r.NameFill, QStringLiteral("王五"));
    QVERIFY(r.dirtyFlag);
    QCOMPARE(ResumeFontSize, 12);
    QCOMPARE(fontSize, 12);

    // Yes: saves, then goes on to the load dialog (cancelled here).
    ui.shown.clear();
    const QString mine = m_docs.filePath(QStringLiteral("mine.dwz"));
    ui.answers << Answer::Yes;
    ui.fileNames << mine << QString();
    QVERIFY(!cmds.CmdDiaoru_Click());
    QCOMPARE(ui.kinds(), (QList<K::Kind>{K::Question, K::SaveFile, K::OpenFile}));
    QVERIFY(QFile::exists(mine));
    QVERIFY(!r.dirtyFlag);

    // No: loads without saving.
    ui.shown.clear();
    r.Name = QStringLiteral("changed");
    r.dirtyFlag = true;
    ui.answers << Answer::No;
    ui.fileNames << doc;
    QVERIFY(cmds.CmdDiaoru_Click());
    QCOMPARE(ui.kinds(), (QList<K::Kind>{K::Question, K::OpenFile}));
    QCOMPARE(r.Name, QStringLiteral("李四"));
    QCOMPARE(r.NameFill, QStringLiteral("王五"));   // from the document
    QVERIFY(!r.dirtyFlag);
    QCOMPARE(cmds.currentDocumentPath(), doc);
    QVERIFY(!ui.busyNow);
}

void TestDocumentCommands::replaceAskedOnlyForAnotherFile()
{
    const QString other = m_docs.filePath(QStringLiteral("someone.dwz"));
    {
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("another cadre");
    }
    AppointmentRecord r = validRecord();
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    ui.fileNames << other;
    ui.answers << Answer::No;
    QCOMPARE(cmds.save(), DocumentCommands::SaveResult::Cancelled);
    QCOMPARE(ui.shown.last().kind, ScriptedInteraction::Shown::Question);
    QVERIFY(ui.shown.last().text.contains(QStringLiteral("已存在，要替换它吗？")));
    QCOMPARE(readAll(other), QByteArray("another cadre"));

    ui.fileNames << other;
    ui.answers << Answer::Yes;
    QVERIFY(cmds.CmdSave_Click());
    QVERIFY(readAll(other).startsWith(QByteArray::fromHex("22d5c5c8fd22")));   // "张三"

    // Saving over the open document again is one step.
    ui.shown.clear();
    ui.fileNames << other;
    QVERIFY(cmds.CmdSave_Click());
    QCOMPARE(ui.shown.size(), 1);

    // An older document loaded is not the document a save writes.
    const QString ren = m_docs.filePath(QStringLiteral("old.ren"));
    {
        QStringList items;
        for (int i = 0; i < 34; ++i)
            items << QString();
        items[0] = QStringLiteral("旧");
        items[1] = QStringLiteral("男");
        QFile f(ren);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(encodeDocumentItems(items));
    }
    ui.fileNames << ren;
    QVERIFY(cmds.CmdDiaoru_Click());
    QCOMPARE(cmds.currentDocumentPath(), QString());
    ui.shown.clear();
    ui.fileNames << ren;
    ui.answers << Answer::No;
    QCOMPARE(cmds.save(), DocumentCommands::SaveResult::Cancelled);
    QCOMPARE(ui.shown.last().kind, ScriptedInteraction::Shown::Question);
}

void TestDocumentCommands::checkFailureStopsSave()
{
    AppointmentRecord r = validRecord();
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    cmds.checkFields = [](AppointmentRecord &rec, FieldCheckFailure *f) {
        rec.csrq[4] = QStringLiteral("20990101");
        f->controlName = QStringLiteral("txtcsrq");
        f->row = 4;
        f->page = 2;
        f->message = QStringLiteral("出生时间不能晚于当前时间，重新输入！\r\n请重试！");
        return false;
    };
    FieldCheckFailure seen;
    cmds.onCheckFailed = [&](const FieldCheckFailure &f) { seen = f; };
    int refreshed = 0;
    cmds.onRecordChanged = [&] { ++refreshed; };
    QCOMPARE(cmds.save(), DocumentCommands::SaveResult::Failed);
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].title, AppInfo::title());
    QCOMPARE(ui.shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(ui.shown[0].text, QStringLiteral("出生时间不能晚于当前时间，重新输入！\r\n请重试！"));
    QCOMPARE(seen.controlName, QStringLiteral("txtcsrq"));
    QCOMPARE(seen.row, 4);
    QVERIFY(refreshed > 0);   // the preparations are shown
    QVERIFY(v.TNAME.isEmpty());
}

void TestDocumentCommands::partyTextRejectedStopsSave()
{
    AppointmentRecord r = validRecord();
    r.Rudang = QStringLiteral("民革；民盟；1990；九三");
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    cmds.checkFields = [](AppointmentRecord &, FieldCheckFailure *) { return true; };
    bool rejected = false;
    cmds.onPartyTextRejected = [&] { rejected = true; };
    QVERIFY(!cmds.CmdSave_Click());
    QVERIFY(rejected);
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].title, QStringLiteral("系统校验"));
}

void TestDocumentCommands::closing()
{
    AppointmentRecord r = validRecord();
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    QVERIFY(cmds.canClose());
    QVERIFY(ui.shown.isEmpty());

    r.dirtyFlag = true;
    ui.answers << Answer::Cancel;
    QVERIFY(!cmds.canClose());
    ui.answers << Answer::No;
    QVERIFY(cmds.canClose());
    ui.answers << Answer::Yes;   // and then the save dialog is cancelled
    QVERIFY(cmds.canClose());
    QVERIFY(r.dirtyFlag);

    // A save that fails keeps the window open: closing would lose the record.
    cmds.checkFields = [](AppointmentRecord &, FieldCheckFailure *f) {
        f->message = QStringLiteral("性别请填写“男”或“女”！\r\n请重试！");
        return false;
    };
    ui.answers << Answer::Yes;
    QVERIFY(!cmds.canClose());

    cmds.checkFields = [](AppointmentRecord &, FieldCheckFailure *) { return true; };
    ui.answers << Answer::Yes;
    ui.fileNames << m_docs.filePath(QStringLiteral("closing.dwz"));
    QVERIFY(cmds.canClose());
    QVERIFY(!r.dirtyFlag);
}

void TestDocumentCommands::failedLoadTakesNothing()
{
    const QString broken = m_docs.filePath(QStringLiteral("broken.dwz"));
    {
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"a\",\"b");
    }
    AppointmentRecord r = validRecord();
    const AppointmentRecord before = r;
    RendererVars v;
    CountingInteraction ui;
    DocumentCommands cmds(r, v, ui);
    ui.fileNames << broken;
    QVERIFY(!cmds.CmdDiaoru_Click());
    QVERIFY(r.sameFields(before));
    QCOMPARE(r.NameFill, QStringLiteral("王五"));
    QCOMPARE(ui.messageTexts().size(), 1);
    QCOMPARE(ui.busyCalls, 1);
    QVERIFY(!ui.busyNow);
    QCOMPARE(cmds.currentDocumentPath(), QString());

    ui.fileNames << m_docs.filePath(QStringLiteral("picture.bmp"));
    QVERIFY(!cmds.CmdDiaoru_Click());
    QCOMPARE(ui.messageTexts().last(), QStringLiteral("文件类型不正确！"));
}

QTEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
