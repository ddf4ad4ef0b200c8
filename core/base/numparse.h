#pragma once
// Strict conversions of texts to numbers, used for settings values and number boxes.
// Both return false and leave value unchanged when the text is not a number.

#include <QString>

#include <cstdint>

// Optional blanks around an optional sign and decimal digits, or hexadecimal digits after
// "0x" or "$" (which cover the whole 32-bit pattern: "0xFFFFFFFF" is -1). Decimal values
// outside the 32-bit range are refused.
bool TryStrToInt(const QString &text, std::int32_t &value);
// Decimal notation with an optional exponent; "." or "," as the decimal separator (not
// both). Infinity and NaN are refused.
bool TryStrToFloat(const QString &text, double &value);
