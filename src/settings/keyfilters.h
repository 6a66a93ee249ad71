// SPDX-License-Identifier: MIT
#pragma once

namespace settings {
// The key handlers of the settings window's number boxes: Enter applies what
// the box belongs to and stays in the box, every other key goes through the
// box's filter (whole numbers, numbers with a decimal separator, or hex),
// which may throw it away.

class FrmSetting;

class KeyFilters
{
public:
    explicit KeyFilters(FrmSetting &window);
};

} // namespace settings
