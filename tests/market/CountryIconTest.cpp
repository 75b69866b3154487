#include "market/CountryIcon.h"

#include "market/Countries.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The colours a flag must show, sampled at a point of the 30 x 20 drawing.
struct Sample
{
    QString country;
    QPointF point;
    QColor colour;
};

QImage Render(const QString& country, QSize size)
{
    return CountryIcon(country).pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool Near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

TEST(CountryIcon, EveryCountryHasAFlagThatRenders)
{
    for (const QString& country : Countries::CountryNames()) {
        const QIcon icon = CountryIcon(country);
        ASSERT_FALSE(icon.isNull()) << qPrintable(country);
        const QImage image = Render(country, QSize(60, 40));
        ASSERT_FALSE(image.isNull()) << qPrintable(country);
        EXPECT_EQ(image.size(), QSize(60, 40)) << qPrintable(country);
        EXPECT_EQ(image.pixelColor(30, 20).alpha(), 255) << qPrintable(country) << ": the flag fills its icon";
    }
    EXPECT_TRUE(CountryIcon(u"Atlantis"_s).isNull());
    EXPECT_TRUE(CountryIcon(u"france"_s).isNull());
}

TEST(CountryIcon, FlagsShowTheirColours)
{
    const Sample samples[] = {
        {u"France"_s, {2, 10}, QColor(0x00, 0x55, 0xa4)},
        {u"France"_s, {28, 10}, QColor(0xef, 0x41, 0x35)},
        {u"Italy"_s, {2, 10}, QColor(0x00, 0x92, 0x46)},
        {u"Germany"_s, {15, 2}, QColor(0, 0, 0)},
        {u"Germany"_s, {15, 18}, QColor(0xff, 0xce, 0x00)},
        {u"Sweden"_s, {10.5, 2}, QColor(0xfe, 0xcc, 0x00)},
        {u"Norway"_s, {2, 2}, QColor(0xba, 0x0c, 0x2f)},
        {u"Norway"_s, {10.5, 2}, QColor(0x00, 0x20, 0x5b)},
        {u"Spain"_s, {20, 10}, QColor(0xf1, 0xbf, 0x00)},
        {u"Canada"_s, {2, 10}, QColor(0xd5, 0x2b, 0x1e)},
        {u"Canada"_s, {15, 10}, QColor(0xd5, 0x2b, 0x1e)},
        {u"Brazil"_s, {1, 1}, QColor(0x00, 0x9c, 0x3b)},
        {u"Brazil"_s, {15, 13}, QColor(0x00, 0x27, 0x76)},
        {u"UK & Ireland"_s, {15, 10}, QColor(0xc8, 0x10, 0x2e)},
        {u"UK & Ireland"_s, {2, 6}, QColor(0x01, 0x21, 0x69)},
        {u"United States"_s, {25, 0.7}, QColor(0xb2, 0x22, 0x34)},
        {u"United States"_s, {11.5, 7}, QColor(0x3c, 0x3b, 0x6e)},
        {u"Australia & NZ"_s, {25, 1}, QColor(0x01, 0x21, 0x69)},
    };
    for (const Sample& s : samples) {
        const QImage image = Render(s.country, QSize(300, 200));
        const QColor seen = image.pixelColor(int(s.point.x() * 10), int(s.point.y() * 10));
        EXPECT_TRUE(Near(seen, s.colour))
            << qPrintable(s.country) << " at " << s.point.x() << "," << s.point.y() << ": " << qPrintable(seen.name());
    }
}

} // namespace
