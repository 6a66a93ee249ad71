// SPDX-License-Identifier: MIT
#pragma once
// The version both programs report, from the numbers the build sets.

#include <QString>

namespace core::desktop {

inline QString applicationVersionText()
{
    return QStringLiteral("%1.%2.%3").arg(TOCKA_VERSION_MAJOR).arg(TOCKA_VERSION_MINOR).arg(TOCKA_VERSION_REVISION);
}

} // namespace core::desktop
