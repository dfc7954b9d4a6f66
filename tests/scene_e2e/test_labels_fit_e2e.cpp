// Every label that shrinks its text to fit its box stays readable in every shipped language:
// at 10 pixels the text fits the box, and the label never shrinks below 10 pixels. Walks all
// text items of the scene (hidden pages included) after each language was chosen in the
// settings panel, measuring with the label's own font (family, weight, letter spacing).
#include "tests/support/SceneDriver.h"

#include <QFontMetricsF>
#include <QQuickItem>
#include <QSettings>
#include <QtTest>

namespace {

constexpr int kSmallestReadablePixels = 10;
constexpr int kFixedSize = 0;  // Text.FixedSize: the label never shrinks

void collectFittingTexts(QQuickItem *item, QList<QQuickItem *> &texts)
{
    if (!item)
        return;
    if (item->inherits("QQuickText") && item->property("fontSizeMode").toInt() != kFixedSize)
        texts.append(item);
    for (QQuickItem *child : item->childItems())
        collectFittingTexts(child, texts);
}

// What a label shows: its text, or the names of the items around it for the report.
QString describe(QQuickItem *text)
{
    QString path;
    for (QQuickItem *it = text; it; it = it->parentItem())
        if (!it->objectName().isEmpty()) {
            path = it->objectName();
            break;
        }
    return QString("\"%1\" in %2").arg(text->property("text").toString(), path);
}

}  // namespace

class TestLabelsFit : public QObject {
    Q_OBJECT

private slots:
    void everyFittingLabelIsReadableInEveryLanguage()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        // The application links sheet is made when first opened: opened and closed once.
        QVERIFY(scene.click("Menu_Prof_0", Qt::RightButton));
        QVERIFY(scene.click("Menu_Prof_apps"));
        QVERIFY(scene.waitForItem("Page_AppLinks"));
        QVERIFY(scene.click("appLinksClose"));
        QVERIFY(scene.waitFor([&] { return !scene.item("Page_AppLinks")->isVisible(); }));
        QVERIFY(scene.click("Menu_Up_settings"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Globalsetting", "x").toInt() == 160; }));
        const QStringList codes = scene.property("GlobalSettings", "languageCodes").toStringList();
        QVERIFY(codes.size() >= 8);

        QStringList tooSmall;
        for (int position = 0; position < codes.size(); ++position) {
            QVERIFY(scene.click("languageList"));
            QVERIFY(scene.click("languageList_item" + QString::number(position)));
            QVERIFY(scene.waitFor([&] { return scene.call("languageList", "getCurIndex").toInt() == position; }));
            QList<QQuickItem *> texts;
            collectFittingTexts(scene.root(), texts);
            QVERIFY(!texts.isEmpty());
            for (QQuickItem *text : texts) {
                const QString shown = text->property("text").toString();
                if (shown.isEmpty())
                    continue;
                QFont font = text->property("font").value<QFont>();
                font.setPixelSize(kSmallestReadablePixels);
                const qreal needed = QFontMetricsF(font).horizontalAdvance(shown);
                const qreal room = text->width() - text->property("leftPadding").toReal()
                                   - text->property("rightPadding").toReal();
                if (text->property("minimumPixelSize").toInt() < kSmallestReadablePixels || needed > room)
                    tooSmall << QString("%1: %2 needs %3 px at %4 px, has %5 (smallest %6 px)")
                                    .arg(codes[position], describe(text))
                                    .arg(needed, 0, 'f', 0)
                                    .arg(kSmallestReadablePixels)
                                    .arg(room, 0, 'f', 0)
                                    .arg(text->property("minimumPixelSize").toInt());
            }
        }
        QVERIFY2(tooSmall.isEmpty(), qPrintable("\n" + tooSmall.join('\n')));
    }

    // The pages whose texts were translated anew, for review: the key capture, the macro
    // delay unit, the lighting switch, the settings' text rows.
    void translatedPagesOnScreen_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");
        QTest::newRow("carbon russian") << 1 << "096000";
        QTest::newRow("ember russian") << 2 << "096000";
        QTest::newRow("carbon japanese") << 1 << "059000";
    }
    void translatedPagesOnScreen()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver scene(SceneDriver::inSkin(skin));
        QVERIFY(scene.start());
        const int position = scene.property("GlobalSettings", "languageCodes").toStringList().indexOf(language);
        QVERIFY(position >= 0);
        QVERIFY(scene.click("Menu_Up_settings"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Globalsetting", "x").toInt() == 160; }));
        QVERIFY(scene.click("languageList"));
        QVERIFY(scene.click("languageList_item" + QString::number(position)));
        QVERIFY(!scene.screenshot(QString("skin%1_%2_settings").arg(skin).arg(language)).isEmpty());
        QVERIFY(scene.click("Menu_Up_settings"));
        QVERIFY(scene.answerQuestion(0));   // SAVE the language
        QVERIFY(scene.waitFor([&] { return !scene.item("Page_Globalsetting")->isVisible(); }));

        QVERIFY(scene.click("function_0"));
        QVERIFY(scene.waitForItem("keyboardInput"));
        QVERIFY(!scene.screenshot(QString("skin%1_%2_key_keyboard").arg(skin).arg(language)).isEmpty());
        for (int page : {1, 2}) {
            QVERIFY(scene.click("Menu_Func_" + QString::number(page)));
            QVERIFY(scene.waitFor([&] { return scene.property("Main_W3", "currentPage").toInt() == page; }));
            QVERIFY(scene.waitFor([&] { return scene.item(page == 1 ? "Page_Macro" : "Page_Color")->x() == 0; }));
            QVERIFY(!scene.screenshot(QString("skin%1_%2_page%3").arg(skin).arg(language).arg(page)).isEmpty());
        }
    }
};

QTEST_MAIN(TestLabelsFit)
#include "test_labels_fit_e2e.moc"
