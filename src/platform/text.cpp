#include "platform/text.h"

#include <cwctype>

#include <windows.h>

namespace text {
namespace {
std::wstring_view Trimmed(std::wstring_view s) {
    const size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}
} // namespace

std::optional<long long> ParseInteger(std::wstring_view s) {
    s = Trimmed(s);
    size_t i = 0, n = s.size();
    bool negative = false;
    if (i < n && s[i] == L'-') {
        negative = true;
        ++i;
    }
    if (i == n) return std::nullopt;
    long long value = 0;
    for (; i < n; ++i) {
        if (s[i] < L'0' || s[i] > L'9') return std::nullopt;
        value = value * 10 + (s[i] - L'0');
        if (value > 0x7fffffffLL + 1) return std::nullopt; // far beyond every range asked for
    }
    return negative ? -value : value;
}

std::optional<std::int16_t> ParseInt16(std::wstring_view s) {
    auto v = ParseInteger(s);
    if (!v || *v < -32768 || *v > 32767) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

std::optional<std::int32_t> ParseInt32(std::wstring_view s) {
    auto v = ParseInteger(s);
    if (!v || *v < -2147483648LL || *v > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

bool IsNumeric(std::wstring_view s) {
    s = Trimmed(s);
    size_t i = 0, n = s.size();
    if (i < n && (s[i] == L'-' || s[i] == L'+')) ++i;
    bool digits = false, point = false;
    for (; i < n; ++i) {
        if (s[i] >= L'0' && s[i] <= L'9')
            digits = true;
        else if (s[i] == L'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::wstring TrimSpaces(std::wstring_view s) {
    return std::wstring(Trimmed(s));
}

std::wstring Widen(std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view s) {
    if (s.empty()) return {};
    int n =
        WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

wchar_t LowerWide(wchar_t c) {
    return static_cast<wchar_t>(std::towlower(c));
}

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = LowerChar(c);
    return s;
}

} // namespace text
