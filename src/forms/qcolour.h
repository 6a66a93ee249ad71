// SPDX-License-Identifier: MIT
#pragma once
// The stored colour as Qt paints it.

#include "core/units/colour.h"

#include <QColor>

namespace forms {

inline QColor toQColor(core::units::Colour colour)
{
    const auto u = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF));
}

} // namespace forms
