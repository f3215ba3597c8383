#include "foundation/AppInfo.h"
#include "foundation/Clock.h"
#include "foundation/Settings.h"
#include "commands/DocumentCommands.h"
#include "record/CompanionPhoto.h"
#include "record/DocumentKind.h"
#include "record/DocumentLock.h"
#include "record/RecoveryStore.h"
#include "support/DocumentTestSupport.h"
#include "support/FullDisk.h"

#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using K = ScriptedInteraction::Shown;

class CountingInteraction : public ScriptedInteraction {
public:
    void setBusy(bool busy) override { busyCalls += (busyNow = busy) ? 1 : 0; }
    bool busyNow = false;
    int busyCalls = 0;
};

// A record that passes every check.
AppointmentRecord validRecord()
{
    AppointmentRecord r;
    r.name = QStringLiteral("张三");
    r.sex = QStringLiteral("男");
    r.birthDate = QStringLiteral("196001");
    r.partyMembership = QStringLiteral("198507");
    r.workStartDate = QStringLiteral("198207");
    r.fullTimeEducation = QStringLiteral("大学");
    r.familyRelations[0] = QStringLiteral("妻子");
    r.familyBirthDates[0] = QStringLiteral("196203");
    r.ageReferenceDate = r.fillingDate = QStringLiteral("20240506");
    r.filledBy = QStringLiteral("王五");
    return r;
}

// The record, the hand-off values, the scripted dialogs and the commands on them.
struct Session {
    AppointmentRecord record = validRecord();
    RendererVars vars;
    CountingInteraction ui;
    DocumentCommands cmds{record, vars, ui};
    void rename(const QString &name) { record.name = name; record.isDirty = true; }
    void renameAndKeep(const QString &name) { rename(name); cmds.keepRecoveryCopy(); }
    bool startStore(RecoveryStore &store) { cmds.setRecoveryStore(&store); return store.start().ok(); }
    // The save or load command with `path` chosen in its dialog.
    DocumentCommands::SaveResult saveTo(const QString &path) { ui.fileNames << path; return cmds.save(); }
    bool loadFrom(const QString &path) { ui.fileNames << path; return cmds.load(); }
};

// A save among other documents' files; `answers`: Y/N to the questions, in order.
struct CompanionCase {
    QString saveAs;
    bool photo, openFirst;   // openFirst: 王芳.dwz loaded before the save
    QString answers;
    DocumentCommands::SaveResult result;
    QStringList changed, created;
};

// An editor that keeps a copy of `record` and then dies without ending
// normally: a child process that leaves its lock file and copy behind.
void crashedEditor(const QString &folder, const AppointmentRecord &record, const QString &documentPath)
{
    const pid_t child = ::fork();
    if (child == 0) {
        auto *store = new RecoveryStore(folder);   // never destroyed: no normal end
        const bool kept = store->start() && store->keep(record, documentPath);
        ::_exit(kept ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
Q_DECLARE_METATYPE(CompanionCase)

class TestDocumentCommands : public QObject {
    Q_OBJECT
    QString doc(const QString &name) const { return m_docs.filePath(name); }
    QTemporaryDir m_settings;
    QTemporaryDir m_docs;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { Clock::setToday(QDate(2024, 5, 6)); Settings::useScratchFolder(m_settings.path()); }
    void cleanup() { Clock::setToday(QDate()); }

    void saveFolderRemembered()
    {
        Session s;
        s.record.isDirty = true;
        QCOMPARE(s.saveTo(doc("first.dwz")), DocumentCommands::SaveResult::Saved);
        QCOMPARE(s.ui.kinds(), QList<K::Kind>{K::SaveFile});
        QCOMPARE(s.ui.shown[0].startPath, DocumentCommands::defaultDocumentsFolder());
        QCOMPARE(QSettings(m_settings.filePath("preRMDir/preRMDir.conf"), QSettings::IniFormat).value("preRMDir/preRMDir").toString(),
                 m_docs.path());
        QCOMPARE(s.cmds.currentDocumentPath(), doc("first.dwz"));
        QVERIFY(s.ui.busyCalls == 1 && !s.ui.busyNow);

        // The title names it; the next save proposes it, and the load dialog
        // of this run starts where the last save went.
        QCOMPARE(s.cmds.windowTitle(), QStringLiteral("first.dwz[*] - ") + AppInfo::entryCaption());
        QCOMPARE(s.cmds.save(), DocumentCommands::SaveResult::Cancelled);
        QCOMPARE(s.ui.shown.last().startPath, doc("first.dwz"));
        QVERIFY(!s.cmds.load());
        QCOMPARE(s.ui.shown.last().startPath, doc("first.dwz"));

        // After a restart the save dialog still starts there; the load dialog
        // starts in the current folder until the first save. Cancelling either
        // changes nothing but the name of the person filling in, emptied first.
        Session restarted;
        QVERIFY(!restarted.cmds.load());
        QCOMPARE(restarted.record.filledBy, QString());
        QVERIFY(restarted.record.isDirty);   // emptying a field is an edit
        QCOMPARE(restarted.cmds.save(), DocumentCommands::SaveResult::Cancelled);
        QCOMPARE(restarted.ui.kinds(), (QList<K::Kind>{K::OpenFile, K::SaveFile}));
        QCOMPARE(restarted.ui.shown[0].startPath, QDir::currentPath());
        QCOMPARE(restarted.ui.shown[1].startPath, m_docs.path());
        QCOMPARE(restarted.ui.busyCalls, 0);
    }

    // A photo that cannot be copied fails the save before the document is
    // written: nothing is replaced, nothing remembered.
    void unreadablePhotoStopsTheSave()
    {
        Session p;
        p.record.isDirty = p.record.hasPhoto = true;
        p.record.photoPath = doc("missing.jpg");
        QVERIFY(QDir(m_docs.path()).mkpath(QStringLiteral("nophoto")));
        QCOMPARE(p.saveTo(doc("nophoto/p.dwz")), DocumentCommands::SaveResult::Failed);
        QVERIFY(!QFile::exists(doc("nophoto/p.dwz")) && p.record.isDirty);
        QCOMPARE(p.cmds.currentDocumentPath(), QString());
        QVERIFY(p.ui.messageTexts().value(0).contains(QStringLiteral("照片文件")));
        QVERIFY(!p.ui.messageTexts().value(0).contains(QStringLiteral("原有的文件没有改变")));   // there was none
    }

    // A failed save says why first, in words, with what to do; the old file
    // only where there was one; the error number last. Only folders where
    // something succeeded are offered again.
    void saveFailureSaysWhy_data()
    {
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<QString>("starts");
        QTest::addColumn<int>("error");
        const QString readOnly = ::geteuid() == 0 ? QStringLiteral("磁盘只读") : QStringLiteral("没有写入权限");
        QTest::newRow("no folder") << "nofolder/x.dwz" << "无法保存到这个文件夹：文件夹不存在。请选择别的文件夹。" << ENOENT;
        QTest::newRow("read-only folder") << "ro/x.dwz" << "无法保存到这个文件夹：" + readOnly + "。请选择别的文件夹。"
                                          << (::geteuid() == 0 ? EROFS : EACCES);
        QTest::newRow("onto a folder") << "adir.dwz" << "无法保存文件“" + doc("adir.dwz") + "”：这是一个文件夹，不是文件。" << EISDIR;
    }
    void saveFailureSaysWhy()
    {
        QFETCH(QString, saveAs);
        QFETCH(QString, starts);
        QFETCH(int, error);
        QVERIFY(QDir(m_docs.path()).mkpath(QStringLiteral("ro")) && QDir(m_docs.path()).mkpath(QStringLiteral("adir.dwz")));
        QVERIFY(writeBytes(doc("ro/x.dwz"), "the old one"));
        ReadOnlyFolder readOnly(doc("ro"));
        if (saveAs.startsWith(QLatin1String("ro/")) && !readOnly.active())
            QSKIP("no read-only folder here");
        const bool old = QFileInfo(doc(saveAs)).isFile();
        Session s;
        s.ui.answers << Answer::Yes;   // replace what has the name
        QCOMPARE(s.saveTo(doc(saveAs)), DocumentCommands::SaveResult::Failed);
        const QString said = s.ui.messageTexts().value(0);
        QVERIFY2(said.startsWith(starts), qPrintable(said));
        QCOMPARE(said.contains(QStringLiteral("原有的文件没有改变。")), old);
        QVERIFY2(said.endsWith(QStringLiteral("（错误号 %1）").arg(error)), qPrintable(said));
        QCOMPARE(s.ui.shown.last().icon, MessageIcon::Exclamation);
        QVERIFY(!s.cmds.load());
        QCOMPARE(s.ui.shown.last().startPath, QDir::currentPath());
        QVERIFY(s.cmds.recentDocuments().isEmpty() && QFileInfo(doc("adir.dwz")).isDir());
    }

    // The last ten documents opened or saved, newest first; one that is
    // gone is said and dropped when chosen.
    void recentDocuments()
    {
        Session s;
        for (int i = 0; i < 12; ++i)
            QCOMPARE(s.saveTo(doc(QStringLiteral("r%1.dwz").arg(i))), DocumentCommands::SaveResult::Saved);
        QVERIFY(s.loadFrom(doc("r5.dwz")));
        QStringList expected{doc("r5.dwz")};
        for (int i = 11; expected.size() < 10; --i)
            if (i != 5)
                expected << doc(QStringLiteral("r%1.dwz").arg(i));
        QCOMPARE(s.cmds.recentDocuments(), expected);
        QVERIFY(QFile::remove(doc("r11.dwz")));
        QVERIFY(!s.cmds.openRecent(doc("r11.dwz")));
        QVERIFY(s.ui.messageTexts().last().contains(QStringLiteral("已不存在")));
        QVERIFY(!s.cmds.recentDocuments().contains(doc("r11.dwz")) && s.cmds.recentDocuments().size() == 9);
        QVERIFY(s.cmds.openRecent(doc("r9.dwz")));
        QCOMPARE(s.cmds.currentDocumentPath(), doc("r9.dwz"));
        QCOMPARE(s.cmds.recentDocuments().first(), doc("r9.dwz"));
    }

    // The prompt before closing (and before loading): Yes goes on only once the
    // save is done, No goes on, Cancel stops; anything that keeps the save from
    // completing stops too, so nothing typed is lost.
    void savePrompt_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QList<K::Kind>>("dialogs");
        using L = QList<K::Kind>;
        const L asked{K::Question}, saveAsked{K::Question, K::SaveFile};
        QTest::newRow("cancel") << Answer::Cancel << "" << true << false << asked;
        QTest::newRow("no") << Answer::No << "" << true << true << asked;
        QTest::newRow("yes, saved") << Answer::Yes << "closing.dwz" << true << true << saveAsked;
        QTest::newRow("yes, save dialog cancelled") << Answer::Yes << "" << true << false << saveAsked;
        QTest::newRow("yes, checks fail") << Answer::Yes << "closing.dwz" << false << false << L{K::Question, K::Message};
        QTest::newRow("yes, no to replacing") << Answer::Yes << "taken.dwz" << true << false << saveAsked + L{K::Question, K::Message};
        QTest::newRow("yes, no folder to write in") << Answer::Yes << "nofolder/x.dwz" << true << false << saveAsked + L{K::Message};
    }

    void savePrompt()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, valid);
        QFETCH(bool, goesOn);
        QVERIFY(writeBytes(doc("taken.dwz"), "another cadre"));
        auto changed = [&](Session &x) {
            x.record.isDirty = true;
            if (!valid)
                x.record.sex = QStringLiteral("未知");
            x.ui.answers << answer;
            x.ui.fileNames << (saveAs.isEmpty() ? QString() : doc(saveAs));
        };
        Session s;
        QVERIFY(s.cmds.canClose());   // unchanged: no question
        changed(s);
        QString focused;
        s.cmds.onCheckFailed = [&](const FieldPlace &f) { focused = f.controlName; };
        QCOMPARE(s.cmds.canClose(), goesOn);
        QTEST(s.ui.kinds(), "dialogs");
        QCOMPARE(s.ui.shown[0].text, DocumentCommands::savePromptText());
        QCOMPARE(focused, valid ? QString() : QStringLiteral("txtSex"));   // for the window to show
        const bool saved = answer == Answer::Yes && goesOn;
        QCOMPARE(s.record.isDirty, !saved);
        if (saveAs == QLatin1String("closing.dwz"))
            QCOMPARE(QFile::remove(doc(saveAs)), saved);
        QCOMPARE(readAll(doc("taken.dwz")), QByteArray("another cadre"));
        if (saveAs == QLatin1String("taken.dwz"))
            QVERIFY(s.ui.shown[2].text.contains(QStringLiteral("已存在，要替换它吗？"))
                    && s.ui.shown.last().text == QStringLiteral("没有保存。"));
        if (valid && s.ui.shown.last().kind == K::Message && saveAs != QLatin1String("taken.dwz"))
            QVERIFY(s.ui.shown.last().text.startsWith(QStringLiteral("无法保存到这个文件夹：")));

        // The load command stops at the same points: the record stays, no dialog follows.
        if (!goesOn) {
            Session l;
            changed(l);
            const AppointmentRecord before = l.record;
            l.ui.answers << Answer::No;
            QVERIFY(!l.loadFrom(doc("other.dwz")));
            QVERIFY(l.record.sameFields(before) && l.record.isDirty);
            QVERIFY(!l.ui.kinds().contains(K::OpenFile));
        }
    }

    void loadCommand()
    {
        {
            Session other;   // ends here, and with it its lock on the document
            other.record.name = QStringLiteral("李四");
            other.record.filledBy = QStringLiteral("赵六");
            QCOMPARE(other.saveTo(doc("other.dwz")), DocumentCommands::SaveResult::Saved);
        }
        QVERIFY(writeBytes(doc("broken.dwz"), "\"a\",\"b"));

        Session s;
        s.record.isDirty = true;
        const AppointmentRecord before = s.record;
        s.ui.answers << Answer::No << Answer::No;
        // A document that cannot be read takes nothing away, not even the name of the person filling in.
        QVERIFY(!s.loadFrom(doc("broken.dwz")));
        QVERIFY(s.record.sameFields(before) && s.record.isDirty);
        // The editor says its content stayed; the reader's reason alone does not.
        QCOMPARE(s.ui.messageTexts().size(), 1);
        QVERIFY2(s.ui.messageTexts()[0].endsWith(QStringLiteral("。\r\n当前内容没有改变。")), qPrintable(s.ui.messageTexts()[0]));
        QVERIFY(s.ui.busyCalls == 1 && !s.ui.busyNow);
        QCOMPARE(s.cmds.currentDocumentPath(), QString());
        Session clean;   // ... and leaves a clean record clean
        QVERIFY(!clean.loadFrom(doc("broken.dwz")));
        QVERIFY(!clean.record.isDirty && clean.record.filledBy == QStringLiteral("王五"));

        QVERIFY(s.loadFrom(doc("other.dwz")));
        QVERIFY(!s.record.isDirty);
        QCOMPARE((QStringList{s.record.name, s.record.filledBy}), (QStringList{"李四", "赵六"}));
        QCOMPARE(s.cmds.currentDocumentPath(), doc("other.dwz"));
        // The next load opens on the file just loaded, in its folder.
        QVERIFY(!s.cmds.load());
        QCOMPARE(s.ui.shown.last().startPath, doc("other.dwz"));
    }

    // An older document loaded is not the document a save writes: saved
    // under its name it becomes "old.ren.dwz" and the older file stays.
    void olderDocumentSavedUnderNewName()
    {
        QStringList items(34);
        items[0] = QStringLiteral("旧");
        const QByteArray ren = encodeDocumentItems(items).value();
        QVERIFY(writeBytes(doc("old.ren"), ren));
        Session s;
        QVERIFY(s.loadFrom(doc("old.ren")));
        QCOMPARE(s.cmds.currentDocumentPath(), QString());
        QCOMPARE(s.cmds.windowTitle(), AppInfo::entryCaption() + QStringLiteral("[*]"));
        QCOMPARE(s.saveTo(doc("old.ren")), DocumentCommands::SaveResult::Saved);
        QCOMPARE(s.ui.shown.last().startPath, doc("old.dwz"));   // proposed as a new document beside it
        QCOMPARE(s.ui.kinds(), (QList<K::Kind>{K::OpenFile, K::SaveFile}));
        QCOMPARE(readAll(doc("old.ren")), ren);
        QCOMPARE(s.cmds.currentDocumentPath(), doc("old.ren.dwz"));
    }

    // A folder shared with other documents: 张三.ljy with its photo 张三.pic,
    // 王芳.dwz with 王芳.pic. Whatever name a save takes, with or without a
    // photo, another document's photo is never deleted or replaced unasked.
    void companionsOfOtherDocuments_data()
    {
        QTest::addColumn<CompanionCase>("c");
        const auto saved = DocumentCommands::SaveResult::Saved, cancelled = DocumentCommands::SaveResult::Cancelled;
        using L = QStringList;
        QTest::newRow("new name, no photo, keep theirs") << CompanionCase{"张三", false, false, "N", cancelled, L{}, L{}};
        QTest::newRow("new name, no photo, remove theirs") << CompanionCase{"张三", false, false, "Y", saved, L{"张三.pic"}, L{"张三.dwz"}};
        QTest::newRow("new name, photo, keep theirs") << CompanionCase{"张三.dwz", true, false, "N", cancelled, L{}, L{}};
        QTest::newRow("new name, photo, replace") << CompanionCase{"张三.dwz", true, false, "Y", saved, L{"张三.pic"}, L{"张三.dwz"}};
        QTest::newRow(".bak, no photo") << CompanionCase{"王芳.bak", false, false, "", saved, L{}, L{"王芳.bak.dwz"}};
        QTest::newRow(".bak, photo") << CompanionCase{"王芳.bak", true, false, "", saved, L{}, L{"王芳.bak.dwz", "王芳.bak.pic"}};
        QTest::newRow(".pic, photo") << CompanionCase{"王芳.pic", true, false, "", saved, L{}, L{"王芳.pic.dwz", "王芳.pic.pic"}};
        QTest::newRow("another .dwz, no photo") << CompanionCase{"王芳.dwz", false, false, "YY", saved, L{"王芳.dwz", "王芳.pic"}, L{}};
        QTest::newRow("another .dwz, photo, keep theirs") << CompanionCase{"王芳.dwz", true, false, "YN", cancelled, L{}, L{}};
        QTest::newRow("open document, photo removed") << CompanionCase{"王芳.dwz", false, true, "", saved, L{"王芳.dwz", "王芳.pic"}, L{}};
        QTest::newRow("open document, new photo") << CompanionCase{"王芳.dwz", true, true, "", saved, L{"王芳.dwz", "王芳.pic"}, L{}};
    }

    void companionsOfOtherDocuments()
    {
        QFETCH(CompanionCase, c);
        QTemporaryDir dir;
        auto in = [&dir](const QString &name) { return dir.filePath(name); };
        auto image = [](Qt::GlobalColor color) { return imageBytes(filledImage(6, 8, color), "BMP"); };
        AppointmentRecord wang = validRecord();
        wang.name = QStringLiteral("王芳");
        ScriptedInteraction quiet;
        QVERIFY(saveRecord(in("王芳.dwz"), wang, quiet));
        QMap<QString, QByteArray> before{{"王芳.dwz", readAll(in("王芳.dwz"))}, {"王芳.pic", image(Qt::red)},
                                         {"张三.ljy", "a brief document"}, {"张三.pic", image(Qt::green)}, {"chosen.bmp", image(Qt::blue)}};
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY(writeBytes(in(it.key()), it.value()));

        Session s;
        if (c.openFirst) {
            QVERIFY(s.loadFrom(in("王芳.dwz")));
            QVERIFY(s.record.hasPhoto);
            s.record.appraisalResults = QStringLiteral("称职");
        }
        s.record.hasPhoto = c.photo;
        if (c.photo) {
            s.record.photoPath = in("chosen.bmp");
            s.record.photo = QImage(s.record.photoPath);
        }
        s.record.isDirty = true;
        for (QChar a : c.answers)
            s.ui.answers << (a == QLatin1Char('Y') ? Answer::Yes : Answer::No);
        QCOMPARE(s.saveTo(in(c.saveAs)), c.result);
        QVERIFY(s.ui.answers.isEmpty());   // every question expected was asked; a "no" says so
        QCOMPARE(s.ui.messageTexts().contains(QStringLiteral("没有保存。")), c.result == DocumentCommands::SaveResult::Cancelled);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(c.changed.contains(it.key()) != (readAll(in(it.key())) == it.value()), qPrintable(it.key()));
        QStringList now = QDir(dir.path()).entryList(QDir::Files);
        for (const QString &name : before.keys())
            now.removeAll(name);
        QCOMPARE(now, c.created);
        if (c.photo && s.record.isDirty == false)
            QCOMPARE(readAll(companionPhotoPath(documentSavePath(in(c.saveAs)))), image(Qt::blue));
    }

    // Two editors, one document: the second is told who has it; a save over
    // a document changed since it was loaded asks first; the lock goes with
    // the document; a lock left by a process of this computer that no longer
    // runs is taken over without a word, another computer's never.
    void twoEditorsOneDocument()
    {
        const QString path = doc("shared.dwz"), lock = DocumentLock::lockPathFor(path);
        QCOMPARE(QFileInfo(lock).fileName(), QStringLiteral(".~lock.shared.dwz#"));
        {
            Session first;
            QCOMPARE(first.saveTo(path), DocumentCommands::SaveResult::Saved);
            QVERIFY(readAll(lock).contains("\npid=" + QByteArray::number(QCoreApplication::applicationPid()) + '\n'));

            Session second;
            const AppointmentRecord before = second.record;
            QVERIFY(!second.loadFrom(path) && second.record.sameFields(before));   // no answer: No
            QVERIFY(second.ui.shown.last().text.contains(QStringLiteral("已由“")));
            second.ui.answers << Answer::Yes;
            QVERIFY(second.loadFrom(path));   // opened anyway
            second.rename(QStringLiteral("第二处"));
            QCOMPARE(second.saveTo(path), DocumentCommands::SaveResult::Saved);   // unchanged since loaded
            const QByteArray theirs = readAll(path);

            first.rename(QStringLiteral("第一处"));
            first.ui.shown.clear();
            first.ui.fileNames << path << path << doc("mine.dwz");
            first.ui.answers << Answer::Cancel << Answer::No;
            QCOMPARE(first.cmds.save(), DocumentCommands::SaveResult::Cancelled);
            QVERIFY(first.ui.shown[1].text.startsWith(QStringLiteral("文件在调入后已被修改")));
            QCOMPARE(first.ui.shown[2].text, QStringLiteral("没有保存。"));
            QCOMPARE(first.cmds.save(), DocumentCommands::SaveResult::Saved);   // No: under another name
            QCOMPARE(readAll(path), theirs);
            QCOMPARE(first.cmds.currentDocumentPath(), doc("mine.dwz"));
            QVERIFY(!QFile::exists(lock) && QFile::exists(DocumentLock::lockPathFor(doc("mine.dwz"))));
        }
        QVERIFY(!QFile::exists(DocumentLock::lockPathFor(doc("mine.dwz"))));   // ended: gone

        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        for (const QByteArray &host : {QSysInfo::machineHostName().toUtf8(), QByteArray("elsewhere")}) {
            QVERIFY(writeBytes(lock, "user=clerk\nhost=" + host + "\npid=" + QByteArray::number(child) + "\n"));
            Session third;
            const bool stale = !host.startsWith("elsewhere");
            QCOMPARE(third.loadFrom(path), stale);
            QCOMPARE(third.ui.kinds().size(), stale ? 1 : 2);
            QCOMPARE(readAll(lock).contains("clerk"), !stale);
        }
    }

    // A save through a link writes its target: the link and the file's
    // permissions stay. A save folder the settings cannot take is said.
    void saveKeepsLinkAndPermissions()
    {
        const QString target = doc("kept/target.dwz"), link = doc("link.dwz");
        QVERIFY(QDir().mkpath(doc("kept")) && writeBytes(target, "old") && QFile::link(target, link));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        const QString settingsFolder = m_settings.filePath(QStringLiteral("preRMDir"));
        QVERIFY(QDir(settingsFolder).removeRecursively() && writeBytes(settingsFolder, "no folder"));
        Session s;
        s.ui.answers << Answer::Yes;   // replace it
        QCOMPARE(s.saveTo(link), DocumentCommands::SaveResult::Saved);
        QVERIFY(QFile::remove(settingsFolder));
        struct stat st {};
        QVERIFY(QFileInfo(link).isSymLink() && readAll(target) != "old" && ::stat(QFile::encodeName(target).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QVERIFY(s.ui.messageTexts().join(QString()).contains(QStringLiteral("保存位置未能记入设置")));
    }

    // A read-only document is replaced only when the clerk says so.
    void readOnlyDocument()
    {
        const QString path = doc("readonly.dwz");
        QFile::remove(path);
        Session s;
        QCOMPARE(s.saveTo(path), DocumentCommands::SaveResult::Saved);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray before = readAll(path);
        s.rename(QStringLiteral("改过"));
        QCOMPARE(s.saveTo(path), DocumentCommands::SaveResult::Cancelled);   // no answer: No
        QVERIFY(s.ui.shown[s.ui.shown.size() - 2].text.contains(QStringLiteral("是只读文件，要替换它吗？")));
        QCOMPARE(readAll(path), before);
        s.ui.answers << Answer::Yes;
        QCOMPARE(s.saveTo(path), DocumentCommands::SaveResult::Saved);
        QVERIFY(readAll(path) != before);
        Session other;   // not the open document: one question says both
        QCOMPARE(other.saveTo(path), DocumentCommands::SaveResult::Cancelled);
        QVERIFY(other.ui.shown[1].text.contains(QStringLiteral("已存在，而且是只读文件")));
    }

    // An installed program's folder is the system's: the documents folder is
    // the user's own, and nothing is made beside the program.
    void documentsFolderIsTheUsers()
    {
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/干部任免审批表");
        QDir().rmdir(beside);   // an empty one left by an older build
        QCOMPARE(DocumentCommands::defaultDocumentsFolder(),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/干部任免审批表"));
        Session s;
        QCOMPARE(s.cmds.save(), DocumentCommands::SaveResult::Cancelled);
        QVERIFY(!QFileInfo::exists(beside) && QFileInfo(DocumentCommands::defaultDocumentsFolder()).isDir());
    }

    // Unsaved work is kept while the editor runs, offered by the next editor
    // only once this one ended without saving, and gone after a save or No.
    void recoveryCopies()
    {
        QTemporaryDir folder;
        const QString base = folder.filePath(QStringLiteral("recovery"));
        {
            RecoveryStore running(base);
            Session s;
            QVERIFY(s.startStore(running));
            s.cmds.keepRecoveryCopy();
            QVERIFY(!running.hasCopy());   // nothing unsaved
            s.renameAndKeep(QStringLiteral("正在录入"));
            QVERIFY(running.hasCopy());
            // Another editor started meanwhile does not take a running editor's copy.
            RecoveryStore second(base);
            QVERIFY(second.start() && second.findOrphans().isEmpty());
            // Saved: the copy goes.
            QCOMPARE(s.saveTo(doc("kept.dwz")), DocumentCommands::SaveResult::Saved);
            QVERIFY(!running.hasCopy());
            s.renameAndKeep(QStringLiteral("又改了"));
            QVERIFY(running.hasCopy());
            // Not saved by choice: the copy goes too.
            s.ui.answers << Answer::No;
            QVERIFY(s.cmds.canClose());
            QVERIFY(!running.hasCopy());
        }
        QVERIFY(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());   // normal ends leave nothing

        AppointmentRecord typed = validRecord();
        typed.name = QStringLiteral("李\"四\"");   // exactly as typed, quotes and all
        typed.resume = QStringLiteral("1990 学习\r\n                  继续");
        typed.hasPhoto = true;
        typed.photo = filledImage(5, 7, Qt::red);
        typed.photoPath = doc("gone.jpg");   // the chosen file is no longer there
        crashedEditor(base, typed, doc("li.dwz"));
        crashedEditor(base, validRecord(), QString());

        Session s;
        RecoveryStore store(base);
        QVERIFY(s.startStore(store));
        s.ui.answers << Answer::No << Answer::Yes;   // newest first: validRecord's copy, then 李"四"
        QVERIFY(s.cmds.offerRecovery());
        QCOMPARE(s.ui.kinds(), (QList<K::Kind>{K::Question, K::Question}));
        QCOMPARE(s.ui.shown[0].title, QStringLiteral("恢复未保存的内容"));
        QVERIFY(s.ui.shown[1].text.contains(QStringLiteral("“李\"四\"”")));
        QVERIFY(s.record.sameFields([&] { AppointmentRecord r = typed; r.photoPath.clear(); return r; }()));
        QVERIFY(s.record.isDirty && s.record.hasPhoto && s.record.photo.size() == QSize(5, 7));
        QCOMPARE(s.cmds.currentDocumentPath(), doc("li.dwz"));
        QVERIFY(store.hasCopy());   // taken over at once
        QCOMPARE(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
        // Saved under its original name, photo included.
        s.ui.shown.clear();
        QCOMPARE(s.saveTo(doc("li.dwz")), DocumentCommands::SaveResult::Saved);
        QCOMPARE(s.ui.shown[0].startPath, doc("li.dwz"));
        QVERIFY(!store.hasCopy());
        QCOMPARE(QImage(doc("li.pic")).size(), QSize(5, 7));
        RecoveryStore later(base);
        QVERIFY(later.start() && later.findOrphans().isEmpty());
    }

    // The store touches only subfolders it made: a link to a folder (even
    // under its own naming) and anything else in the folder stay as they are,
    // and of its own subfolders only its own files are deleted.
    void recoveryTouchesOnlyItsOwn()
    {
        QTemporaryDir folder, scratch;
        const QString base = folder.filePath(QStringLiteral("recovery"));
        QVERIFY(QDir().mkpath(base + "/editor-1-0000aa/inner") && QDir().mkpath(base + "/notes")
                && QDir().mkpath(scratch.filePath("sub")));
        QVERIFY(writeBytes(scratch.filePath("sub/precious.txt"), "x") && writeBytes(base + "/notes/a.txt", "x")
                && writeBytes(base + "/editor-1-0000aa/inner/b.txt", "x"));
        QVERIFY(QFile::link(scratch.path(), base + "/editor-2-0000bb") && QFile::link(scratch.path(), base + "/elsewhere"));
        QVERIFY(QDir().mkpath(base + "/editor-3-0000cc") && writeBytes(base + "/editor-3-0000cc/.photo.0a0b0c.tmp", "half"));
        Session s;
        RecoveryStore store(base);
        QVERIFY(s.startStore(store));
        s.ui.answers << Answer::No << Answer::No << Answer::No;
        QVERIFY(!s.cmds.offerRecovery() && s.ui.shown.isEmpty());
        QVERIFY(QFileInfo::exists(scratch.filePath("sub/precious.txt")) && QFileInfo::exists(base + "/notes/a.txt")
                && QFileInfo::exists(base + "/editor-1-0000aa/inner/b.txt"));
        QVERIFY(QFileInfo(base + "/editor-2-0000bb").isSymLink() && QFileInfo(base + "/elsewhere").isSymLink());
        QVERIFY(!QFileInfo::exists(base + "/editor-3-0000cc"));   // an editor's leftovers, its own files only
    }

    // A copy that cannot be read is kept and reported once; one that cannot
    // be written, or a store that cannot be used, is reported once a session.
    void recoveryFailuresSaid()
    {
        QTemporaryDir folder;
        const QString base = folder.filePath(QStringLiteral("recovery"));
        crashedEditor(base, validRecord(), QString());
        crashedEditor(base, validRecord(), QString());
        const QStringList copies = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(copies.size(), 2);
        QVERIFY(writeBytes(base + "/" + copies[0] + "/record.json", "{\"format\": 1, \"fields\""));
        QVERIFY(writeBytes(base + "/" + copies[1] + "/record.json", "{\"format\": 2}"));
        for (int run = 0; run < 2; ++run) {
            Session s;
            RecoveryStore store(base);
            s.cmds.setRecoveryStore(&store);
            QVERIFY(!s.cmds.startRecovery());
            const QString said = s.ui.messageTexts().join("|");
            QCOMPARE(s.ui.messageTexts().size(), run == 0 ? 2 : 0);
            QVERIFY(run == 1 || (said.contains(QStringLiteral("较新版本")) && said.contains(copies[0])));
            for (const QString &slot : copies)
                QVERIFY(QFileInfo::exists(base + "/" + slot + "/record.json"));
        }

        Session s;
        RecoveryStore store(base);
        QVERIFY(s.startStore(store) && QDir().mkpath(store.slotFolder() + "/record.json"));   // cannot be written
        for (const char *name : {"甲", "乙"})
            s.renameAndKeep(QString::fromUtf8(name));
        QCOMPARE(s.ui.messageTexts().size(), 1);
        QVERIFY(s.ui.messageTexts()[0].startsWith(QStringLiteral("未能保存恢复副本")));

        const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME");
        qunsetenv("HOME");
        qunsetenv("XDG_DATA_HOME");
        const QString noHome = RecoveryStore::defaultFolder();
        qputenv("HOME", home);
        if (!data.isEmpty())
            qputenv("XDG_DATA_HOME", data);
        Session homeless;
        RecoveryStore nowhere(noHome);
        homeless.cmds.setRecoveryStore(&nowhere);
        QVERIFY(noHome.isEmpty() && !homeless.cmds.startRecovery());
        homeless.record.isDirty = true;
        homeless.cmds.keepRecoveryCopy();
        QCOMPARE(homeless.ui.messageTexts().size(), 1);
        QVERIFY(homeless.ui.messageTexts()[0].contains(QStringLiteral("HOME")));
    }
};

QTEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
