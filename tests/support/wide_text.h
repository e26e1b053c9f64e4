#pragma once
// Lets doctest print wide texts in failure messages.
#include "platform/text.h"

#include <doctest/doctest.h>

#include <string>

namespace doctest {
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& s) { return ("L\"" + text::Narrow(s) + "\"").c_str(); }
};
} // namespace doctest
