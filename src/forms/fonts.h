// SPDX-License-Identifier: MIT
#pragma once
// Fonts named by the design ("Verdana", "Small Fonts") that a machine may not
// have fall back to a metric-close installed family, chosen once, here.

#include <QFont>
#include <QString>

namespace forms {

namespace fonts {

// The installed family used for `designFamily`.
QString family(const QString &designFamily);

// A font of the design family (or its stand-in) in points.
QFont font(const QString &designFamily, double points, bool bold = false);

// The windows' own text (captions, notes, buttons): the narrow sans serif of
// the classic dialogs where the machine has it, else a condensed stand-in.
// Fixed rather than the desktop's, so the text fits the places the windows
// give it in twips.
QFont caption(double points);

} // namespace fonts

} // namespace forms
