// SPDX-License-Identifier: MIT
#include "core/clock/pokemessages.h"

#include "core/text/numbers.h"

#include <array>

namespace core::clock {

int pokeNumberFromDraw(float r)
{
    const float scaled = r * 11.0f;
    return static_cast<int>(text::floorInt(static_cast<double>(scaled))) + 1;
}

QString pokeMessage(int pokeNumber)
{
    static const std::array<const char *, 10> messages = {
        "AAAahhhhhhchhoooo!",
        "Owww! Quit poking me you bastard!",
        "AAAAAhhhhhh shit. I crapped my pants again.",
        "Leo the lion says Ger!",
        "Burp Burp!",
        "Try double-clicking for once, kid.",
        "Are you going to be here all day?",
        "If you only get paid for this...",
        "Hint-hint: click twice really fast. You know, double clicking?",
        "Pfff... Fart...!",
    };
    if (pokeNumber < 2 || pokeNumber > 11)
        return {};
    return QString::fromLatin1(messages[static_cast<std::size_t>(pokeNumber - 2)]);
}

} // namespace core::clock
