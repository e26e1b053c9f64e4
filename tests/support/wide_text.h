#pragma once
// Lets doctest print wide texts in failure messages.
#include "platform/text.h"

#include <doctest/doctest.h>

#include <cstdio>
#include <string>
#include <vector>

using Strings = std::vector<std::wstring>;

namespace doctest {
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& s) { return ("L\"" + text::Narrow(s) + "\"").c_str(); }
};
template <> struct StringMaker<Strings> {
    static String convert(const Strings& texts) {
        std::string out;
        for (const std::wstring& s : texts) out += (out.empty() ? "{L\"" : ", L\"") + text::Narrow(s) + "\"";
        return (out.empty() ? "{}" : out + "}").c_str();
    }
};
} // namespace doctest

// Writes what a test found beside the tests (UTF-8), for a reviewer to compare with the expected file.
inline void WriteActual(const std::wstring& fileName, const std::wstring& content) {
    if (FILE* out = _wfopen(fileName.c_str(), L"wb")) {
        const std::string utf8 = text::Narrow(content);
        fwrite(utf8.data(), 1, utf8.size(), out);
        fclose(out);
    }
}
