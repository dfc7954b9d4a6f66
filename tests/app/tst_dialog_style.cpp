// Dialogs over the real window: the shell is a transparent, frameless window, and nothing of its
// transparency may reach the file dialogs and message boxes opened with it or its view as
// parent. Each is drawn, checked for an opaque background in its palette's window colour and
// readable text, and saved as a screenshot for review.
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "tests/support/SceneDriver.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>
#include <functional>
#include <map>

namespace {

double luminance(const QColor &c)
{
    auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour covering most of the image (its background).
QColor dominantColour(const QImage &image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](const auto &a, const auto &b) { return a.second < b.second; });
    return QColor::fromRgba(most->first);
}

using DialogFactory = std::function<QWidget *(QWidget *parent)>;

}  // namespace

Q_DECLARE_METATYPE(DialogFactory)

class TestDialogStyle : public QObject {
    Q_OBJECT

private slots:
    void dialogsOverTheWindowAreReadable_data()
    {
        QTest::addColumn<DialogFactory>("open");
        QTest::addColumn<bool>("overShell");
        // Qt's own file dialog: the desktop's dialog is used where a platform theme offers one.
        const DialogFactory fileDialog = [](QWidget *parent) -> QWidget * {
            auto *dialog = new QFileDialog(parent, "Save File", QDir::homePath(), "Profile(*.pf)");
            dialog->setOption(QFileDialog::DontUseNativeDialog);
            dialog->setAcceptMode(QFileDialog::AcceptSave);
            return dialog;
        };
        const DialogFactory messageBox = [](QWidget *parent) -> QWidget * {
            return new QMessageBox(QMessageBox::Warning, "W3 Config",
                                   "The profile could not be written.", QMessageBox::Ok, parent);
        };
        // The "replace it?" question, opened by the file dialog over itself.
        const DialogFactory replaceQuestion = [fileDialog](QWidget *parent) -> QWidget * {
            QWidget *files = fileDialog(parent);
            return new QMessageBox(QMessageBox::Warning, "Save File", "P03.pf already exists.\nDo you want to replace it?",
                                   QMessageBox::Yes | QMessageBox::No, files);
        };
        QTest::newRow("file dialog over the view") << fileDialog << false;
        QTest::newRow("file dialog over the shell") << fileDialog << true;
        QTest::newRow("message box over the view") << messageBox << false;
        QTest::newRow("replace question over a file dialog") << replaceQuestion << false;
    }
    void dialogsOverTheWindowAreReadable()
    {
        QFETCH(DialogFactory, open);
        QFETCH(bool, overShell);
        SceneDriver scene;
        QVERIFY(scene.start());
        QWidget *parent = overShell ? static_cast<QWidget *>(&scene.shell()) : &scene.view();
        std::unique_ptr<QWidget> dialog(open(parent));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

        const QImage image = dialog->grab().toImage();
        const QString name = QString("dialog_%1").arg(QTest::currentDataTag()).replace(' ', '_');
        QVERIFY(QDir().mkpath(SceneDriver::screenshotFolder()));
        QVERIFY(image.save(SceneDriver::screenshotFolder() + "/" + name + ".png"));

        const QColor background = dominantColour(image);
        QCOMPARE(background.alpha(), 255);
        // Mostly the dialog's window colour, or the base colour of its file list.
        const QColor window = dialog->palette().color(QPalette::Window);
        const QColor base = dialog->palette().color(QPalette::Base);
        QVERIFY2(contrast(background, window) < 1.1 || contrast(background, base) < 1.1,
                 qPrintable(background.name() + " drawn, " + window.name() + " or " + base.name() + " expected"));
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            if (!label->isVisible() || label->text().isEmpty())
                continue;
            const QColor text = label->palette().color(label->foregroundRole());
            QVERIFY2(contrast(text, window) >= 4.5, qPrintable(label->text()));
        }
    }
};

QTEST_MAIN(TestDialogStyle)
#include "tst_dialog_style.moc"
