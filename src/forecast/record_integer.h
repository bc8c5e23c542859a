// The integer syntax of a forecast record line.
#pragma once

#include <cstdint>
#include <string_view>

namespace vt {

// Leading blanks (spaces only), an optional "+" or "-", then decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X". Anything else anywhere (trailing blanks too), no
// digits, or a value out of range gives 0.
//
// Decimal must fit a signed 64-bit value; -9223372036854775808 does.
// Hexadecimal is a 64-bit pattern: any value up to FFFFFFFFFFFFFFFF is taken (leading zeros do
// not count), and patterns from 8000000000000000 up read as negative numbers, so every masked
// record can be written in hex too. A sign negates the pattern modulo 2^64 ("-$1" is -1).
std::int64_t ParseRecordInteger(std::string_view line);

}  // namespace vt
