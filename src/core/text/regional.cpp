// SPDX-License-Identifier: MIT
#include "core/text/regional.h"

#include <QDate>
#include <QTime>

namespace core::text {

QString shortDate(const QDate &date, const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return locale.toString(date, format);
}

QString timeWithSeconds(const QTime &time, const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('s'))) {
        const qsizetype m = format.indexOf(QLatin1String("mm"));
        if (m >= 0)
            format.insert(m + 2, QLatin1String(":ss"));
        else
            format = QStringLiteral("HH:mm:ss");
    }
    return locale.toString(time, format);
}

QChar decimalPoint(const QLocale &locale)
{
    const QString dp = locale.decimalPoint();
    return dp.isEmpty() ? QLatin1Char('.') : dp.front();
}

} // namespace core::text
