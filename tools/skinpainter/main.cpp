// w3-skinpainter: draws the skin pictures and the application icon.
//
//   w3-skinpainter --skins DIR      every picture of both skins into DIR/skin1 and DIR/skin2
//   w3-skinpainter --icons DIR      w3config.svg and the 256 × 256 w3config.png into DIR
//   w3-skinpainter --preview DIR    contact sheets and window mocks of the skins in --skins DIR
//
// The options combine; the exit status is 1 if anything could not be written.
#include "AppIcon.h"
#include "PreviewSheet.h"
#include "SkinSet.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

namespace {

bool report(const QString &error)
{
    std::fprintf(stderr, "w3-skinpainter: %s\n", qPrintable(error));
    return false;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return report(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

bool writeImage(const QString &path, const QImage &image)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return report(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

bool writeSkins(const QString &root)
{
    for (const SkinStyle &skin : allSkins()) {
        QString error;
        if (!skinset::writeSkin(skin, root, error))
            return report(error);
    }
    return true;
}

bool writeIcons(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return report(QStringLiteral("cannot create %1").arg(folder));
    const QDir dir(folder);
    return writeFile(dir.filePath(QStringLiteral("w3config.svg")), appicon::svg().toUtf8())
           && writeImage(dir.filePath(QStringLiteral("w3config.png")), appicon::png());
}

bool writePreviews(const QString &skinsRoot, const QString &folder)
{
    if (!QDir().mkpath(folder))
        return report(QStringLiteral("cannot create %1").arg(folder));
    const QDir dir(folder);
    for (const SkinStyle &skin : allSkins()) {
        const QString stem = dir.filePath(skin.folder);
        if (!writeImage(stem + QStringLiteral("_sheet.png"), previewsheet::contactSheet(skin, skinsRoot))
            || !writeImage(stem + QStringLiteral("_mock.png"), previewsheet::windowMock(skin, skinsRoot, previewsheet::MockPage::Keys))
            || !writeImage(stem + QStringLiteral("_mock_lighting.png"),
                           previewsheet::windowMock(skin, skinsRoot, previewsheet::MockPage::Lighting))
            || !writeImage(stem + QStringLiteral("_mock_settings.png"),
                           previewsheet::windowMock(skin, skinsRoot, previewsheet::MockPage::Settings)))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char *argv[])
{
    // Nothing is shown: the platform only has to provide the fonts, also on a build machine
    // without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the skin pictures and the application icon."));
    parser.addHelpOption();
    const QCommandLineOption skins(QStringLiteral("skins"), QStringLiteral("Folder holding skin1/ and skin2/."),
                                   QStringLiteral("dir"));
    const QCommandLineOption icons(QStringLiteral("icons"), QStringLiteral("Folder for the application icon."),
                                   QStringLiteral("dir"));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Folder for contact sheets and window mocks (needs --skins)."),
                                     QStringLiteral("dir"));
    parser.addOptions({skins, icons, preview});
    parser.process(app);
    if (!parser.isSet(skins) && !parser.isSet(icons)) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 1;
    }
    if (parser.isSet(preview) && !parser.isSet(skins))
        return report(QStringLiteral("--preview needs --skins")) ? 0 : 1;

    bool written = true;
    if (parser.isSet(skins))
        written = writeSkins(parser.value(skins)) && written;
    if (parser.isSet(icons))
        written = writeIcons(parser.value(icons)) && written;
    if (written && parser.isSet(preview))
        written = writePreviews(parser.value(skins), parser.value(preview));
    return written ? 0 : 1;
}
