#include "CUISettings.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// Flags are drawn once at their shown size and kept as PNGs; a changed SVG is drawn afresh, and
// where nothing can be kept the SVG itself is shown.
TEST(RasterCache, DrawnOnceRedrawnWhenTheSvgChangesAndTheSvgWhereNothingCanBeKept) {
    ScopedDataDir dataDir;
    const QString svg = dataDir.filePath(QStringLiteral("flag.svg"));
    const auto writeSvg = [&](const char* fill) {
        QFile f(svg);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='60' height='40'>"
                           "<rect width='60' height='40' fill='") +
                fill + "'/></svg>");
    };
    writeSvg("red");
    const CUISettings& settings = CUISettings::sharedSettings();
    const QUrl source = QUrl::fromLocalFile(svg);
    const QUrl first = settings.rasterUrl(source, 30, 20);
    ASSERT_TRUE(first.toLocalFile().endsWith(QLatin1String("30x20.png")))
        << first.toString().toStdString();
    EXPECT_EQ(QImage(first.toLocalFile()).size(), QSize(30, 20));
    EXPECT_EQ(settings.rasterUrl(source, 30, 20), first);
    writeSvg("blue");  // a changed file is drawn again
    const QUrl second = settings.rasterUrl(source, 30, 20);
    EXPECT_NE(second, first);
    EXPECT_EQ(QImage(second.toLocalFile()).pixelColor(5, 5), QColor(Qt::blue));
    // A flag's frame: cut to the size, the hairline drawn at the edge, the inside untouched.
    const QImage framed(settings.rasterUrl(source, 20, 20, true, 3).toLocalFile());
    ASSERT_EQ(framed.size(), QSize(20, 20));
    EXPECT_EQ(framed.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_LT(framed.pixelColor(10, 0).blue(), 255);
    // Not an SVG, no size, or a caches directory that is a file: the source as it is.
    QDir(dataDir.filePath(QStringLiteral("Library/Caches"))).removeRecursively();
    QFile(dataDir.filePath(QStringLiteral("Library/Caches"))).open(QIODevice::WriteOnly);
    for (const auto& [url, width] : {std::pair{source, 30}, std::pair{source, 0},
                                     std::pair{QUrl(QStringLiteral("qrc:/a.png")), 30}}) {
        EXPECT_EQ(settings.rasterUrl(url, width, 20), url) << url.toString().toStdString();
    }
}

}  // namespace
