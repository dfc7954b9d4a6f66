// What cannot be undone is asked first, on the real window: profile RESET and LOAD from the
// profile menu and ALL RESET from the bottom bar. CANCEL (the primary button, and Esc) leaves
// the files and the mouse untouched; the action's own button acts. Also the help logo when
// nothing can open the help page. Screenshots of the questions in both skins and in Russian.
#include "app/Widget.h"
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QStyleHints>
#include <QQuickItem>
#include <QSettings>
#include <QtTest>

namespace {

const QString kProfile3 = "modules/setting/p3.bin";
const QString kFactoryProfile = "modules/setting/pD.bin";
const QByteArray kPickedProfile = "[sensor]\nstage_W3=5\ndpi_W3=800, 1600, 2400, 3200, 4000, 4800, 5600, 6400\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString storedStage(const QString &profile)
{
    return QSettings(profile, QSettings::IniFormat).value("sensor/stage_W3").toString();
}

int reportsToTheMouse()
{
    int count = 0;
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature)
            ++count;
    return count;
}

// P03 differs from the factory profile, so a reset shows in its file.
void markProfile3(ModulesSandbox &)
{
    QSettings profile(kProfile3, QSettings::IniFormat);
    profile.setValue("sensor/stage_W3", 7);
}

enum class Answer { Cancel, Escape, Confirm };

}  // namespace

Q_DECLARE_METATYPE(Answer)

class TestQuestionsEndToEnd : public QObject {
    Q_OBJECT

private:
    bool answer(SceneDriver &scene, Answer choice)
    {
        if (choice != Answer::Escape)
            return scene.answerQuestion(choice == Answer::Confirm ? 0 : 1);
        scene.pressKey(Qt::Key_Escape);
        return scene.waitFor([&] { return !scene.item("QuestionSheet")->isVisible(); });
    }

    bool pickLanguage(SceneDriver &scene, const QString &code)
    {
        const int position = scene.property("GlobalSettings", "languageCodes").toStringList().indexOf(code);
        return position >= 0 && scene.click("Menu_Up_settings")
               && scene.waitFor([&] { return scene.property("Page_Globalsetting", "x").toInt() == 160; })
               && scene.click("languageList") && scene.click("languageList_item" + QString::number(position))
               && scene.click("Menu_Up_settings")
               // A new language is unsaved: SAVE it (the question shows at the click).
               && (!scene.property("QuestionSheet", "visible").toBool() || scene.answerQuestion(0))
               && scene.waitFor([&] { return !scene.item("Page_Globalsetting")->isVisible(); });
    }

private slots:
    void profileResetAndLoadAskFirst_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Answer>("choice");
        QTest::newRow("reset, cancelled") << "reset" << Answer::Cancel;
        QTest::newRow("reset, Esc") << "reset" << Answer::Escape;
        QTest::newRow("reset, confirmed") << "reset" << Answer::Confirm;
        QTest::newRow("load, cancelled") << "load" << Answer::Cancel;
        QTest::newRow("load, Esc") << "load" << Answer::Escape;
        QTest::newRow("load, confirmed") << "load" << Answer::Confirm;
    }
    void profileResetAndLoadAskFirst()
    {
        QFETCH(QString, action);
        QFETCH(Answer, choice);
        SceneDriver::Options options;
        options.prepare = markProfile3;
        SceneDriver scene(options);
        QVERIFY(scene.start());
        const QString picked = scene.sandbox().path("picked.pf");
        QFile pickedFile(picked);
        QVERIFY(pickedFile.open(QIODevice::WriteOnly) && pickedFile.write(kPickedProfile) == kPickedProfile.size());
        pickedFile.close();
        scene.prompts().openAnswer = picked;
        QVERIFY(scene.click("Menu_Prof_2"));
        QVERIFY(scene.waitUntilUnlocked());
        const QByteArray before = contents(kProfile3);
        QVERIFY(before != contents(kFactoryProfile));
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Prof_2", Qt::RightButton));
        QVERIFY(scene.click("Menu_Prof_" + action));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(scene.property("questionSentence", "text").toString().contains("P03"));
        // Nothing happens while the question is open: no dialog, no file, no report.
        QVERIFY(scene.prompts().dialogs.isEmpty());
        QCOMPARE(contents(kProfile3), before);
        QVERIFY(answer(scene, choice));
        QVERIFY(scene.waitUntilUnlocked());

        if (choice != Answer::Confirm) {
            QTest::qWait(50);  // anything posted by the answer has run
            QCOMPARE(contents(kProfile3), before);
            QVERIFY(scene.prompts().dialogs.isEmpty());
            QCOMPARE(reportsToTheMouse(), 0);
            return;
        }
        QCOMPARE(scene.prompts().dialogs.size(), action == "load" ? 1 : 0);
        // The pages take the new profile and keep it in the file: compare what P03 holds.
        const QString expectedStage = action == "load" ? "5" : storedStage(kFactoryProfile);
        QCOMPARE(storedStage(kProfile3), expectedStage);
        QCOMPARE(scene.view().profiles().currentProfile(), 2);
    }

    void allResetAsksFirst_data()
    {
        QTest::addColumn<Answer>("choice");
        QTest::newRow("cancelled") << Answer::Cancel;
        QTest::newRow("Esc") << Answer::Escape;
        QTest::newRow("confirmed") << Answer::Confirm;
    }
    void allResetAsksFirst()
    {
        QFETCH(Answer, choice);
        SceneDriver scene;
        QVERIFY(scene.start());
        const QByteArray before = contents("modules/setting/p1.bin");
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Down_reset"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(scene.property("questionSentence", "text").toString().contains("P01"));
        QVERIFY(scene.view().isEnabled());  // not locked behind the question
        QCOMPARE(reportsToTheMouse(), 0);
        QVERIFY(answer(scene, choice));

        if (choice != Answer::Confirm) {
            QTest::qWait(50);
            QVERIFY(scene.view().isEnabled());
            QCOMPARE(reportsToTheMouse(), 0);
            QCOMPARE(contents("modules/setting/p1.bin"), before);
            return;
        }
        // The pages send their factory colours and DPI stages at once.
        QVERIFY(!scene.view().isEnabled());
        QVERIFY(scene.waitUntilUnlocked());
        QVERIFY(reportsToTheMouse() > 0);
    }

    // The questions as the user sees them, for review.
    void questionsOnScreen_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");
        QTest::newRow("carbon english") << 1 << "031000";
        QTest::newRow("ember english") << 2 << "031000";
        QTest::newRow("carbon russian") << 1 << "096000";
        QTest::newRow("ember russian") << 2 << "096000";
    }
    void questionsOnScreen()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver scene(SceneDriver::inSkin(skin));
        QVERIFY(scene.start());
        QVERIFY(pickLanguage(scene, language));
        const QString tag = QString("skin%1_%2_").arg(skin).arg(language);

        QVERIFY(scene.click("Menu_Prof_0", Qt::RightButton));
        QVERIFY(scene.click("Menu_Prof_reset"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(!scene.screenshot(tag + "question_profile_reset").isEmpty());
        QVERIFY(answer(scene, Answer::Cancel));

        QVERIFY(scene.click("Menu_Prof_0", Qt::RightButton));
        QVERIFY(scene.click("Menu_Prof_load"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(!scene.screenshot(tag + "question_profile_load").isEmpty());
        QVERIFY(answer(scene, Answer::Cancel));

        QVERIFY(scene.click("Menu_Down_reset"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(!scene.screenshot(tag + "question_all_reset").isEmpty());
        QVERIFY(answer(scene, Answer::Cancel));

        scene.call("", "showHelpLocation", {scene.property("", "globalSetting_url")});
        QVERIFY(scene.waitForQuestion());
        QVERIFY(!scene.screenshot(tag + "help_location").isEmpty());
        QVERIFY(answer(scene, Answer::Escape));
    }

    // Without a program that opens it, the logo says where the help page is.
    void helpLogoWithoutABrowserShowsWhereThePageIs()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        const QUrl help(scene.property("", "globalSetting_url").toString());
        QVERIFY(help.isLocalFile());
        if (QDesktopServices::openUrl(QUrl("file:///nonexistent-w3-help-probe.html")))
            QSKIP("this platform opens files with a program: the failure cannot be shown");

        QVERIFY(scene.click("webLogo"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(scene.property("questionSentence", "text").toString().contains(help.toLocalFile()));
        QVERIFY(answer(scene, Answer::Confirm));
    }
};

QTEST_MAIN(TestQuestionsEndToEnd)
#include "test_questions_e2e.moc"
