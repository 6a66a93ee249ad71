// SPDX-License-Identifier: MIT
#pragma once
// What the number boxes of the settings window let through while the user
// types, and the base conversions behind its colour boxes. Pure functions, so
// the rules can be checked without a window.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace core::text {

// Key filters: Backspace (8), Tab (9), line feed (10) and Enter (13) pass;
// any other code not in the filter's set becomes 0, which throws the key away.
// Each returns the code as it leaves it.
std::int16_t OnlyNum(std::int16_t &KeyAscii);    // 0-9
std::int16_t OnlyNumDec(std::int16_t &KeyAscii); // 0-9 and "."
std::int16_t OnlyHex(std::int16_t &KeyAscii);    // 0-9, A-F, a-f

// Hex digits (upper case) to their value. A character that is not an
// upper-case hex digit counts as the digit -1; a value beyond the 32-bit range
// stops at its nearest limit instead of wrapping.
std::int32_t Hex2Dec(QStringView sHex);

// Binary digits of a value, most significant first, without leading zeros
// ("0000" for 0; thirty-two digits of the two's complement when negative).
QString Dec2Bin(std::int32_t nDec);

// Binary digits to upper-case hex digits, padded to an even count. A
// character counts with its decimal digit value (0 when it is not a digit).
QString Bin2Hex(QStringView sBin);

// Upper-case hex text of a 32-bit value, no leading zeros; the eight digits of
// the two's complement when negative.
QString hexText(std::int32_t value);

// True when every character is a hex digit (either case).
bool isHexText(QStringView text);

// A box's text taken as a number: the whole text in the user's format, or with
// a full stop. nullopt for an empty or unreadable text.
std::optional<double> numberOf(QStringView text);

// The number a pasted text starts with ("1.2.3" -> 1.2, "12ab" -> 12), for
// boxes whose text must be turned into something usable; nullopt when it
// starts with no digit at all.
std::optional<double> leadingNumber(QStringView text);

// What a box's text comes to when it is applied. A text pasted past the key
// filter that is no plain number is replaced: by the number it starts with,
// or, when there is none, by `fallback` (the value in force).
struct Applied
{
    double value = 0;
    bool rewrite = false; // the box should show `value` instead of its text
};
Applied appliedNumber(QStringView text, double fallback);

// The text a box shows for a number, in the user's format.
QString boxText(double value);

} // namespace core::text
