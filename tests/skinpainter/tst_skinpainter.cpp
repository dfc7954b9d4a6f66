// The skin painter against the scene notes: every picture the scene expects exists in both
// skins at exactly its listed size, nothing else is drawn, the button centres are the listed
// ones and lie on the parts drawn for them, and the icon is written as SVG and PNG.
#include "AppIcon.h"
#include "MouseLayout.h"
#include "SkinSet.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// One row of a table in the scene notes, split into trimmed cells.
QVector<QStringList> tableRows(const QString &notes, const QString &heading, int columns)
{
    QVector<QStringList> rows;
    const int start = notes.indexOf(heading);
    if (start < 0)
        return rows;
    const QStringList lines = notes.mid(start).split(QLatin1Char('\n'));
    bool inTable = false;
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1Char('|'))) {
            if (inTable)
                break;
            continue;
        }
        inTable = true;
        QStringList cells = line.split(QLatin1Char('|'));
        cells = cells.mid(1, cells.size() - 2);
        for (QString &cell : cells)
            cell = cell.trimmed().remove(QLatin1Char('`'));
        if (cells.size() == columns && !cells.first().startsWith(QLatin1String("---")))
            rows.append(cells);
    }
    return rows.mid(1);  // without the header row
}

QString readNotes()
{
    QFile file(QStringLiteral(W3_SCENE_NOTES));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// "list_up/settings_0.png, _1" and "list_fn/icon_key.png, icon_macro.png" name several files:
// a bare suffix replaces the part after the last underscore, a bare name keeps the folder.
QStringList expandNames(const QString &cell)
{
    QStringList names;
    for (const QString &part : cell.split(QLatin1Char(','))) {
        const QString item = part.trimmed();
        if (names.isEmpty() || item.contains(QLatin1Char('/'))) {
            names.append(item);
        } else if (item.startsWith(QLatin1Char('_'))) {
            const QString previous = names.last();
            names.append(previous.left(previous.lastIndexOf(QLatin1Char('_'))) + item + QStringLiteral(".png"));
        } else {
            const QString previous = names.last();
            names.append(previous.left(previous.lastIndexOf(QLatin1Char('/')) + 1) + item);
        }
    }
    return names;
}

QMap<QString, QSize> contractPictures()
{
    QMap<QString, QSize> pictures;
    const QRegularExpression size(QStringLiteral("^(\\d+) × (\\d+)$"));
    for (const QStringList &row : tableRows(readNotes(), QStringLiteral("## Skin images"), 3)) {
        const QRegularExpressionMatch match = size.match(row[1]);
        if (!match.hasMatch())
            continue;
        for (const QString &name : expandNames(row[0]))
            pictures.insert(name, QSize(match.captured(1).toInt(), match.captured(2).toInt()));
    }
    return pictures;
}

const skinset::Picture *pictureNamed(const QString &subPath)
{
    for (const skinset::Picture &picture : skinset::pictures()) {
        if (picture.subPath == subPath)
            return &picture;
    }
    return nullptr;
}

// Mean difference per channel of two images of one size, 0..255.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            sum += qAbs(qRed(p[col]) - qRed(q[col])) + qAbs(qGreen(p[col]) - qGreen(q[col]))
                + qAbs(qBlue(p[col]) - qBlue(q[col])) + qAbs(qAlpha(p[col]) - qAlpha(q[col]));
        }
    }
    return double(sum) / (4.0 * x.width() * x.height());
}

// The part drawn for a button slot.
QPainterPath partOf(int slot)
{
    namespace ml = mouselayout;
    const auto box = [](const QRectF &rect) {
        QPainterPath path;
        path.addRect(rect);
        return path;
    };
    switch (slot) {
    case 0: return ml::leftShell();
    case 1: return ml::rightShell();
    case 2: case 14: case 15: return box(ml::wheel());
    case 3: return box(ml::sideBackward());
    case 4: return box(ml::sideForward());
    case 5: return box(ml::dpiUp());
    case 6: return box(ml::dpiDown());
    default: return {};
    }
}

}  // namespace

class TestSkinPainter : public QObject {
    Q_OBJECT
private slots:
    void picturesHaveTheirListedSize_data();
    void picturesHaveTheirListedSize();
    void doublePicturesAreDrawnAtTwiceTheSize_data();
    void doublePicturesAreDrawnAtTwiceTheSize();
    void drawsNothingOutsideTheList();
    void buttonsSitAtTheirListedCentres_data();
    void buttonsSitAtTheirListedCentres();
    void writesBothSkinsAndTheIcon();
};

void TestSkinPainter::picturesHaveTheirListedSize_data()
{
    QTest::addColumn<int>("skin");
    QTest::addColumn<QString>("subPath");
    QTest::addColumn<QSize>("size");
    const QMap<QString, QSize> pictures = contractPictures();
    QVERIFY2(pictures.size() > 40, "the skin image table of the scene notes was not found");
    const QVector<SkinStyle> skins = allSkins();
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        for (int k = 0; k < skins.size(); ++k)
            QTest::newRow(qPrintable(skins[k].folder + QLatin1Char('/') + it.key())) << k << it.key() << it.value();
    }
}

void TestSkinPainter::picturesHaveTheirListedSize()
{
    QFETCH(int, skin);
    QFETCH(QString, subPath);
    QFETCH(QSize, size);
    const skinset::Picture *picture = pictureNamed(subPath);
    QVERIFY2(picture, qPrintable(subPath + " is not drawn"));
    QCOMPARE(picture->draw(allSkins().at(skin)).size(), size);
}

void TestSkinPainter::doublePicturesAreDrawnAtTwiceTheSize_data()
{
    QTest::addColumn<int>("skin");
    QTest::addColumn<QString>("subPath");
    const QVector<SkinStyle> skins = allSkins();
    for (const skinset::Picture &picture : skinset::pictures()) {
        for (int k = 0; k < skins.size(); ++k)
            QTest::newRow(qPrintable(skins[k].folder + QLatin1Char('/') + picture.subPath)) << k << picture.subPath;
    }
}

// The 2× picture is the same drawing as the 1× one, spread over exactly twice the pixels in
// each direction and drawn at that resolution: reduced again it matches the 1× picture, and it
// is no pixel-doubled copy of it.
void TestSkinPainter::doublePicturesAreDrawnAtTwiceTheSize()
{
    QFETCH(int, skin);
    QFETCH(QString, subPath);
    const skinset::Picture *picture = pictureNamed(subPath);
    QVERIFY(picture);
    const QImage single = skinset::draw(*picture, allSkins().at(skin), 1);
    const QImage twice = skinset::draw(*picture, allSkins().at(skin), 2);
    QCOMPARE(twice.size(), single.size() * 2);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(skinset::scaledPath(subPath, 2), subPath.chopped(4) + QStringLiteral("@2x.png"));

    const QImage reduced = twice.scaled(single.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage nothing(single.size(), QImage::Format_ARGB32);
    nothing.fill(Qt::transparent);
    // Edges fall on other pixels at 2×; a picture drawn in the wrong place or size strays by
    // about as much as the drawing differs from an empty picture.
    const double fromDrawing = meanDifference(reduced, single);
    const double content = meanDifference(nothing, single);
    QVERIFY2(fromDrawing < 0.25 * content,
        qPrintable(
            QStringLiteral("the 2× picture strays from the 1× drawing by %1 of %2").arg(fromDrawing).arg(content)));
    const QImage doubled = single.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QVERIFY2(meanDifference(doubled, twice) > 0.0, "the 2× picture is the 1× one with its pixels doubled");
}

void TestSkinPainter::drawsNothingOutsideTheList()
{
    const QMap<QString, QSize> pictures = contractPictures();
    for (const skinset::Picture &picture : skinset::pictures())
        QVERIFY2(pictures.contains(picture.subPath), qPrintable(picture.subPath + " is not in the scene notes"));
}

void TestSkinPainter::buttonsSitAtTheirListedCentres_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QPointF>("centre");
    const QVector<QStringList> rows = tableRows(readNotes(), QStringLiteral("Button positions"), 3);
    QCOMPARE(rows.size(), mouselayout::buttonCentres().size());
    for (const QStringList &row : rows) {
        const QStringList xy = row[2].split(QLatin1Char(','));
        QCOMPARE(xy.size(), 2);
        QTest::newRow(qPrintable(row[1])) << row[0].toInt() << QPointF(xy[0].toDouble(), xy[1].toDouble());
    }
}

void TestSkinPainter::buttonsSitAtTheirListedCentres()
{
    QFETCH(int, slot);
    QFETCH(QPointF, centre);
    QCOMPARE(mouselayout::centreOf(slot), centre);
    QVERIFY(partOf(slot).contains(centre));
    QVERIFY(mouselayout::body().contains(centre) || slot == 3 || slot == 4);  // side buttons stand proud
}

void TestSkinPainter::writesBothSkinsAndTheIcon()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const SkinStyle &skin : allSkins()) {
        QString error;
        QVERIFY2(skinset::writeSkin(skin, folder.path(), error), qPrintable(error));
        const QImage background(folder.filePath(skin.folder + QStringLiteral("/background.png")));
        QCOMPARE(background.size(), QSize(1000, 600));
        const QImage sharpBackground(folder.filePath(skin.folder + QStringLiteral("/background@2x.png")));
        QCOMPARE(sharpBackground.size(), QSize(2000, 1200));
    }
    QVERIFY(QImage(folder.filePath(QStringLiteral("skin1/model_ms/model_W3_KeyDefine.png")))
            != QImage(folder.filePath(QStringLiteral("skin2/model_ms/model_W3_KeyDefine.png"))));

    QCOMPARE(appicon::png().size(), QSize(appicon::kDesignSize, appicon::kDesignSize));
    // A tray at 22 px asks for 44 px on a 200 % screen: both are drawn, neither is scaled.
    const QIcon icon = appicon::icon();
    for (const int pixels : {22, 44, 32, 64}) {
        QVERIFY(icon.availableSizes().contains(QSize(pixels, pixels)));
        QCOMPARE(icon.pixmap(pixels, pixels).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
            appicon::png(pixels));
    }
    QXmlStreamReader svg(appicon::svg());
    QVERIFY(svg.readNextStartElement());
    QCOMPARE(svg.name().toString(), QStringLiteral("svg"));
    QCOMPARE(svg.attributes().value(QStringLiteral("viewBox")).toString(), QStringLiteral("0 0 256 256"));
    while (!svg.atEnd())
        svg.readNext();
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
}

QTEST_MAIN(TestSkinPainter)
#include "tst_skinpainter.moc"
