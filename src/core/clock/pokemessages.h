// SPDX-License-Identifier: MIT
#pragma once
// What the settings window's picture says when it is poked.

#include <QString>

namespace core::clock {

// The poke number from a uniform draw in [0, 1): 1 to 11, each 1/11.
int pokeNumberFromDraw(float r);

// The message of poke numbers 2 to 11; empty for 1 (which opens the about
// window instead) and for anything else.
QString pokeMessage(int pokeNumber);

} // namespace core::clock
