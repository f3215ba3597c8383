#include "app/Clock.h"
#include "entry/DocumentCommands.h"
#include "support/DocumentTestSupport.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using K = ScriptedInteraction::Shown;

class CountingInteraction : public ScriptedInteraction {
public:
    void setBusy(bool busy) override
    {
        busyNow = busy;
        busyCalls += busy ? 1 : 0;
    }
    bool busyNow = false;
    int busyCalls = 0;

    QList<K::Kind> kinds() const
    {
        QList<K::Kind> out;
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
    r.Date = r.FillDate = QStringLiteral("20240506");
    r.NameFill = QStringLiteral("王五");
    return r;
}

// The record, the hand-off values, the scripted dialogs and the commands on them.
struct Session {
    AppointmentRecord record = validRecord();
    RendererVars vars;
    CountingInteraction ui;
    DocumentCommands cmds{record, vars, ui};
};

} // namespace

class TestDocumentCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { Clock::setToday(QDate()); }

    void saveFolderRemembered();
    void saveAddsExtension();
    void savePrompt_data();
    void savePrompt();
    void loadCommand();
    void replaceAskedOnlyForAnotherFile();

private:
    QString doc(const char *name) const { return m_docs.filePath(QLatin1String(name)); }
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
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("preRMDir"), QStringLiteral("preRMDir"))
        .clear();
}

void TestDocumentCommands::saveFolderRemembered()
{
    Session s;
    s.record.dirtyFlag = true;
    s.ui.fileNames << doc("first.dwz");
    QVERIFY(s.cmds.CmdSave_Click());
    QCOMPARE(s.ui.kinds(), QList<K::Kind>{K::SaveFile});
    QCOMPARE(s.ui.shown[0].startPath, DocumentCommands::defaultDocumentsFolder());
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("preRMDir"),
                       QStringLiteral("preRMDir"));
    QCOMPARE(settings.value(QStringLiteral("preRMDir/preRMDir")).toString(), m_docs.path());
    QCOMPARE(s.cmds.currentDocumentPath(), doc("first.dwz"));
    QVERIFY(s.ui.busyCalls == 1 && !s.ui.busyNow);

    // The load dialog of this run starts where the last save went.
    QVERIFY(!s.cmds.CmdDiaoru_Click());
    QCOMPARE(s.ui.shown.last().startPath, doc("first.dwz"));

    // After a restart the save dialog still starts there; the load dialog
    // starts in the current folder until the first save. Cancelling either
    // changes nothing but the name of the person filling in, emptied first.
    Session restarted;
    QVERIFY(!restarted.cmds.CmdDiaoru_Click());
    QCOMPARE(restarted.record.NameFill, QString());
    QVERIFY(restarted.record.dirtyFlag);   // emptying a field is an edit
    QCOMPARE(restarted.cmds.save(), DocumentCommands::SaveResult::Cancelled);
    QCOMPARE(restarted.ui.kinds(), (QList<K::Kind>{K::OpenFile, K::SaveFile}));
    QCOMPARE(restarted.ui.shown[0].startPath, QDir::currentPath());
    QCOMPARE(restarted.ui.shown[1].startPath, m_docs.path());
    QCOMPARE(restarted.ui.busyCalls, 0);
}

void TestDocumentCommands::saveAddsExtension()
{
    Session s;
    s.record.HasPhoto = true;
    s.record.PhotoPicture = QImage(4, 4, QImage::Format_RGB32);
    s.ui.fileNames << doc("noext");
    QVERIFY(s.cmds.CmdSave_Click());
    QVERIFY(QFile::exists(doc("noext.dwz")) && QFile::exists(doc("noext.pic")) && !QFile::exists(doc("noext")));

    // A photo that cannot be copied fails the save after the document is
    // written: its folder is remembered and it is the open document.
    Session p;
    p.record.dirtyFlag = true;
    p.record.HasPhoto = true;
    p.record.PhotoPath = doc("missing.jpg");
    QVERIFY(QDir(m_docs.path()).mkpath(QStringLiteral("nophoto")));
    p.ui.fileNames << doc("nophoto/p.dwz");
    QCOMPARE(p.cmds.save(), DocumentCommands::SaveResult::Failed);
    QVERIFY(QFile::exists(doc("nophoto/p.dwz")) && p.record.dirtyFlag);
    QCOMPARE(p.cmds.currentDocumentPath(), doc("nophoto/p.dwz"));
    QCOMPARE(DocumentCommands::lastSaveFolderSetting(), doc("nophoto"));
}

// The prompt before closing (and before loading): Yes saves and goes on,
// No goes on, Cancel stops; a save that fails stops too, so nothing is lost.
void TestDocumentCommands::savePrompt_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QList<K::Kind>>("dialogs");
    const QList<K::Kind> asked{K::Question}, saveAsked{K::Question, K::SaveFile};
    QTest::newRow("cancel") << Answer::Cancel << "" << true << false << asked;
    QTest::newRow("no") << Answer::No << "" << true << true << asked;
    QTest::newRow("yes, saved") << Answer::Yes << "closing.dwz" << true << true << saveAsked;
    QTest::newRow("yes, save dialog cancelled") << Answer::Yes << "" << true << true << saveAsked;
    QTest::newRow("yes, checks fail") << Answer::Yes << "closing.dwz" << false << false
                                      << QList<K::Kind>{K::Question, K::Message};
}

void TestDocumentCommands::savePrompt()
{
    QFETCH(Answer, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, valid);
    Session s;
    QVERIFY(s.cmds.canClose());   // unchanged: no question
    s.record.dirtyFlag = true;
    if (!valid)
        s.record.Sex = QStringLiteral("未知");
    QString focused;
    s.cmds.onCheckFailed = [&](const FieldCheckFailure &f) { focused = f.controlName; };
    s.ui.answers << answer;
    s.ui.fileNames << (saveAs.isEmpty() ? QString() : m_docs.filePath(saveAs));
    QTEST(s.cmds.canClose(), "goesOn");
    QTEST(s.ui.kinds(), "dialogs");
    QCOMPARE(s.ui.shown[0].text, DocumentCommands::savePromptText());
    QCOMPARE(focused, valid ? QString() : QStringLiteral("txtSex"));   // for the window to show
    const bool saved = valid && !saveAs.isEmpty() && answer == Answer::Yes;
    QCOMPARE(s.record.dirtyFlag, !saved);
    QCOMPARE(!saveAs.isEmpty() && QFile::remove(m_docs.filePath(saveAs)), saved);
}

void TestDocumentCommands::loadCommand()
{
    Session other;
    other.record.Name = QStringLiteral("李四");
    other.record.NameFill = QStringLiteral("赵六");
    other.ui.fileNames << doc("other.dwz");
    QVERIFY(other.cmds.CmdSave_Click());
    QVERIFY(writeBytes(doc("broken.dwz"), "\"a\",\"b"));

    Session s;
    s.record.dirtyFlag = true;
    const AppointmentRecord before = s.record;
    s.vars.resumeFontSize = 9;
    s.ui.answers << Answer::Cancel << Answer::No << Answer::No;
    s.ui.fileNames << doc("broken.dwz") << doc("other.dwz");
    // Cancelled at the prompt: nothing changes, not even the name of the person filling in.
    QVERIFY(!s.cmds.CmdDiaoru_Click());
    QVERIFY(s.record.sameFields(before));
    QCOMPARE(s.vars.resumeFontSize, 12);
    // A document that cannot be read takes nothing away either.
    QVERIFY(!s.cmds.CmdDiaoru_Click());
    QVERIFY(s.record.sameFields(before) && s.record.dirtyFlag);
    QCOMPARE(s.ui.messageTexts().size(), 1);
    QVERIFY(s.ui.busyCalls == 1 && !s.ui.busyNow);
    QCOMPARE(s.cmds.currentDocumentPath(), QString());
    Session clean;   // ... and leaves a clean record clean
    clean.ui.fileNames << doc("broken.dwz");
    QVERIFY(!clean.cmds.CmdDiaoru_Click());
    QVERIFY(!clean.record.dirtyFlag && clean.record.NameFill == QStringLiteral("王五"));

    QVERIFY(s.cmds.CmdDiaoru_Click());
    QCOMPARE(s.record.Name, QStringLiteral("李四"));
    QCOMPARE(s.record.NameFill, QStringLiteral("赵六"));
    QVERIFY(!s.record.dirtyFlag);
    QCOMPARE(s.cmds.currentDocumentPath(), doc("other.dwz"));
    // The next load opens on the file just loaded, in its folder.
    QVERIFY(!s.cmds.CmdDiaoru_Click());
    QCOMPARE(s.ui.shown.last().startPath, doc("other.dwz"));
}

void TestDocumentCommands::replaceAskedOnlyForAnotherFile()
{
    QVERIFY(writeBytes(doc("someone.dwz"), "another cadre"));
    Session s;
    s.ui.fileNames << doc("someone.dwz");
    s.ui.answers << Answer::No;
    QCOMPARE(s.cmds.save(), DocumentCommands::SaveResult::Cancelled);
    QCOMPARE(s.ui.shown.last().kind, K::Question);
    QVERIFY(s.ui.shown.last().text.contains(QStringLiteral("已存在，要替换它吗？")));
    QCOMPARE(readAll(doc("someone.dwz")), QByteArray("another cadre"));

    s.ui.fileNames << doc("someone.dwz");
    s.ui.answers << Answer::Yes;
    QVERIFY(s.cmds.CmdSave_Click());
    QVERIFY(readAll(doc("someone.dwz")).startsWith(QByteArray::fromHex("22d5c5c8fd22")));   // "张三"

    // Saving over the open document again is one step.
    s.ui.shown.clear();
    s.ui.fileNames << doc("someone.dwz");
    QVERIFY(s.cmds.CmdSave_Click());
    QCOMPARE(s.ui.kinds(), QList<K::Kind>{K::SaveFile});

    // An older document loaded is not the document a save writes.
    QStringList items(34);
    items[0] = QStringLiteral("旧");
    QVERIFY(writeBytes(doc("old.ren"), encodeDocumentItems(items)));
    s.ui.fileNames << doc("old.ren");
    QVERIFY(s.cmds.CmdDiaoru_Click());
    QCOMPARE(s.cmds.currentDocumentPath(), QString());
    s.ui.fileNames << doc("old.ren");
    s.ui.answers << Answer::No;
    QCOMPARE(s.cmds.save(), DocumentCommands::SaveResult::Cancelled);
    QCOMPARE(s.ui.shown.last().kind, K::Question);
}

QTEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
