#pragma once
// Text helpers shared by every layer: number parsing, letter-case-blind comparison, code-page conversion.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// Decimal integer with an optional leading minus sign; spaces around the number are allowed.
// Anything else (letters, an empty text, a fraction, a value out of range) gives no value.
std::optional<long long> ParseInteger(std::wstring_view s);
std::optional<std::int16_t> ParseInt16(std::wstring_view s);
std::optional<std::int32_t> ParseInt32(std::wstring_view s);

// A number as users type it: optional sign, digits, an optional fraction, spaces around.
bool IsNumeric(std::wstring_view s);

bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);

std::wstring TrimSpaces(std::wstring_view s);

wchar_t LowerWide(wchar_t c); // lower case as the runtime has it
// The same; plain letters, nearly all of any registry path, without calling the runtime.
inline wchar_t LowerChar(wchar_t c) {
    if (c >= 0x80) return LowerWide(c);
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}
std::wstring Lower(std::wstring s);

std::wstring Widen(std::string_view s);  // from UTF-8
std::string Narrow(std::wstring_view s); // to UTF-8

} // namespace text
