#include "market/ChartAnswer.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace ChartAnswer {

namespace {

// Seconds since 1970 accepted as a market time (up to the year 5000 or so).
constexpr double kMaxSeconds = 1e11;

bool Number(const QJsonObject& object, const QString& key, double& value)
{
    const QJsonValue field = object.value(key);
    if (!field.isDouble())
        return false;
    value = field.toDouble();
    return std::isfinite(value);
}

int Decimals(const QString& text)
{
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}

} // namespace

QString NumberText(double value)
{
    char buffer[400];
    std::to_chars_result result;
    const float single = float(value);
    if (std::isfinite(single) && double(single) == value)
        result = std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::fixed);
    else
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString::number(value, 'g', 17);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

bool ToQuoteLine(const QString& body, QString& line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject chart = document.object().value(u"chart"_s).toObject();
    if (chart.value(u"error"_s).isObject())
        return false;
    const QJsonArray results = chart.value(u"result"_s).toArray();
    if (results.isEmpty())
        return false;
    const QJsonObject meta = results.at(0).toObject().value(u"meta"_s).toObject();

    double price = 0;
    double previous = 0;
    double marketTime = 0;
    if (!Number(meta, u"regularMarketPrice"_s, price))
        return false;
    if (!Number(meta, u"previousClose"_s, previous) && !Number(meta, u"chartPreviousClose"_s, previous))
        return false;
    if (!Number(meta, u"regularMarketTime"_s, marketTime) || std::fabs(marketTime) > kMaxSeconds)
        return false;
    double offset = 0;
    if (!Number(meta, u"gmtoffset"_s, offset) || std::fabs(offset) > 86400)
        offset = 0;

    const QString priceText = NumberText(price);
    const QString previousText = NumberText(previous);
    const int decimals = qMin(6, qMax(Decimals(priceText), Decimals(previousText)));
    const double scale = std::pow(10.0, decimals);
    double change = std::round((price - previous) * scale) / scale;
    if (change == 0)
        change = 0; // no "-0"
    const QString changeText = std::isfinite(change) ? QString::number(change, 'f', decimals) : u"0"_s;

    QString volumeText = u"N/A"_s;
    double volume = 0;
    if (Number(meta, u"regularMarketVolume"_s, volume) && volume >= 0 && volume < 9e15)
        volumeText = QString::number(qint64(volume));

    const QDateTime local = QDateTime::fromSecsSinceEpoch(qint64(marketTime) + qint64(offset), Qt::UTC);
    const QString dateText = u"%1/%2/%3"_s.arg(local.date().month()).arg(local.date().day()).arg(local.date().year());
    const QString timeText = u"%1:%2"_s.arg(local.time().hour()).arg(local.time().minute(), 2, 10, QChar(u'0'));

    line = QStringList{priceText, changeText, volumeText, dateText, timeText}.join(u',');
    return true;
}

} // namespace ChartAnswer
