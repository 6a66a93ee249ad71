// SPDX-License-Identifier: MIT
#include "forms/fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace forms {

namespace fonts {
namespace {

QStringList standIns(const QString &designFamily)
{
    // DejaVu Sans descends from the family Verdana's shapes and widths were
    // matched to, so it sets the clock text at nearly the same width.
    if (designFamily.compare(QLatin1String("Verdana"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"), QStringLiteral("Bitstream Vera Sans"),
                QStringLiteral("Liberation Sans")};
    if (designFamily.compare(QLatin1String("Small Fonts"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                QStringLiteral("Liberation Sans Narrow")};
    return {designFamily};
}

} // namespace

QString family(const QString &designFamily)
{
    static QHash<QString, QString> chosen;
    const auto it = chosen.constFind(designFamily);
    if (it != chosen.constEnd())
        return *it;
    QString result = designFamily;
    const QStringList installed = QFontDatabase::families();
    for (const QString &candidate : standIns(designFamily)) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) {
            result = candidate;
            break;
        }
    }
    chosen.insert(designFamily, result);
    return result;
}

QFont font(const QString &designFamily, double points, bool bold)
{
    QFont f(family(designFamily));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont caption(double points)
{
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                   QStringLiteral("Nimbus Sans Narrow")});
    f.setPointSizeF(points);
    return f;
}

} // namespace fonts

} // namespace forms
