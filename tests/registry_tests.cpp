#include "registry/registry.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

namespace {
const std::wstring Cursors = L"HKEY_CURRENT_USER\\Control Panel\\Cursors";
const std::wstring Explorer = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

Registry::Bytes BytesOf(std::initializer_list<int> values) {
    Registry::Bytes b;
    for (int v : values) b.push_back(static_cast<std::byte>(v));
    return b;
}
} // namespace

TEST_CASE("root names resolve exactly, letter case counting") {
    CHECK(Registry::RootKeyFromName(L"HKEY_DYN_DATA") == HKEY_DYN_DATA);
    CHECK(Registry::RootKeyFromName(L"HKEY_Current_User") == nullptr);
    CHECK(Registry::RootKeyFromName(L"HKEY_LOCAL_MACHINES") == nullptr);
}

TEST_CASE("malformed paths show the format message and read as an unknown root") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Arrow", L"arrow.cur");

    SUBCASE("lower-case root") {
        const std::wstring path = L"hkey_current_user\\Control Panel\\Cursors";
        CHECK(Registry::ReadString(path, L"Arrow") == L"");
        CHECK(Registry::ReadDword(path, L"Arrow") == 0);
        REQUIRE(sandbox.messages.messages.size() == 2);
        CHECK(sandbox.messages.messages[0] ==
              L"Incorrect Format:\n\nhkey_current_user\\Control Panel\\Cursors");
    }
    SUBCASE("trailing backslash") {
        CHECK(Registry::ReadString(Cursors + L"\\", L"Arrow") == L"");
        auto binary = Registry::ReadBinary(Cursors + L"\\", L"Arrow");
        REQUIRE(binary.has_value());
        CHECK(binary->empty());
        REQUIRE(sandbox.messages.messages.size() == 2);
        CHECK(sandbox.messages.messages[1] == L"Incorrect Format:\n\n" + Cursors + L"\\");
    }
    SUBCASE("empty path") {
        CHECK(Registry::ReadString(L"", L"Arrow") == L"");
        REQUIRE(sandbox.messages.messages.size() == 1);
        CHECK(sandbox.messages.messages[0] == L"Incorrect Format:\n\n");
    }
    SUBCASE("writes to a malformed path change nothing") {
        Registry::WriteString(L"HKEY_CURRENT_USER\\Control Panel\\Cursors\\", L"Arrow", L"other.cur");
        Registry::DeleteValue(L"hkey_current_user\\Control Panel\\Cursors", L"Arrow");
        CHECK(sandbox.messages.messages.size() == 2);
        CHECK(Registry::ReadString(Cursors, L"Arrow") == L"arrow.cur");
    }
}

TEST_CASE("an unknown root name is silent and gives the unknown-root results") {
    RegistrySandbox sandbox;
    const std::wstring path = L"HKEY_LOCAL_MACHINES\\SOFTWARE\\Microsoft";
    CHECK(Registry::ReadString(path, L"") == L"");
    CHECK(Registry::ReadDword(path, L"") == 0);
    auto binary = Registry::ReadBinary(path, L"");
    REQUIRE(binary.has_value());
    CHECK(binary->empty());
    Registry::WriteString(path, L"x", L"y");
    CHECK(sandbox.messages.messages.empty());
}

TEST_CASE("missing keys and values read as the sentinels") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Arrow", L"arrow.cur");
    CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\No\\Such\\Key", L"") == L"Error");
    CHECK(Registry::ReadString(Cursors, L"Wait") == L"Error");
    CHECK(Registry::ReadDword(L"HKEY_CURRENT_USER\\No\\Such\\Key", L"x") == 10);
    CHECK(Registry::ReadDword(Cursors, L"Wait") == 10);
    CHECK_FALSE(Registry::ReadBinary(L"HKEY_CURRENT_USER\\No\\Such\\Key", L"x").has_value());
    CHECK_FALSE(Registry::ReadBinary(Cursors, L"Wait").has_value());
    CHECK(sandbox.messages.messages.empty());
}

TEST_CASE("the root alone addresses the root key") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"", L"", L"root default");
    RawSetDword(HKEY_CURRENT_USER, L"", L"Number", 77);
    CHECK(Registry::ReadString(L"HKEY_CURRENT_USER", L"") == L"root default");
    CHECK(Registry::ReadDword(L"HKEY_CURRENT_USER", L"Number") == 77);
}

TEST_CASE("text reads: spaces, NULs and long values") {
    RegistrySandbox sandbox;
    SUBCASE("leading spaces go, trailing spaces stay when the text carries its zero") {
        RawSetString(HKEY_CURRENT_USER, L"T", L"v", L"  abc  ");
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"v") == L"abc  ");
    }
    SUBCASE("trailing spaces go when the text has no terminating zero") {
        const wchar_t data[] = {L'a', L'b', L' ', L' '};
        RawSetValue(HKEY_CURRENT_USER, L"T", L"v", REG_SZ, data, sizeof data);
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"v") == L"ab");
    }
    SUBCASE("the text ends at its first NUL") {
        const wchar_t data[] = L"first\0second";
        RawSetValue(HKEY_CURRENT_USER, L"T", L"v", REG_MULTI_SZ, data, sizeof data);
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"v") == L"first");
    }
    SUBCASE("a value of 255 characters and far longer is read whole") {
        const std::wstring exact(255, L'x');
        const std::wstring path = L"C:\\" + std::wstring(2000, L'p') + L"\\shell32.dll,3";
        RawSetString(HKEY_CURRENT_USER, L"T", L"exact", exact);
        RawSetString(HKEY_CURRENT_USER, L"T", L"long", path);
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"exact") == exact);
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"long") == path);
    }
    SUBCASE("text outside the ANSI code page survives a write and a read") {
        const std::wstring path = L"C:\\\u0424\u0430\u0439\u043b\u044b\\\u65e5\u672c.ico,2";
        Registry::WriteString(L"HKEY_CURRENT_USER\\T", L"v", path);
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"v") == path);
    }
    SUBCASE("a stored empty text reads as empty, not as a failure") {
        RawSetString(HKEY_CURRENT_USER, L"T", L"v", L"");
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"v") == L"");
    }
}

TEST_CASE("values read through the operation for another type") {
    RegistrySandbox sandbox;
    const std::wstring path = L"HKEY_CURRENT_USER\\T";
    RawSetDword(HKEY_CURRENT_USER, L"T", L"dword", 0x41);
    RawSetString(HKEY_CURRENT_USER, L"T", L"text", L"12");
    const unsigned char four[] = {1, 0, 0, 0};
    const unsigned char five[] = {1, 2, 3, 4, 5};
    RawSetValue(HKEY_CURRENT_USER, L"T", L"four", REG_BINARY, four, sizeof four);
    RawSetValue(HKEY_CURRENT_USER, L"T", L"five", REG_BINARY, five, sizeof five);

    CHECK(Registry::ReadString(path, L"dword") == L"A"); // the bytes 41 00 00 00, cut at the first NUL
    CHECK(Registry::ReadDword(path, L"four") == 1);      // a 4-byte binary reads as its number
    CHECK(Registry::ReadDword(path, L"five") == 10);     // longer than 4 bytes cannot be a number
    CHECK(Registry::ReadDword(path, L"text") == 10);     // "12" with its zero is 6 bytes
    CHECK(*Registry::ReadBinary(path, L"dword") == BytesOf({0x41, 0, 0, 0}));
    CHECK(*Registry::ReadBinary(path, L"five") == BytesOf({1, 2, 3, 4, 5}));
}

TEST_CASE("writes create missing keys with their parents and store exact data") {
    RegistrySandbox sandbox;
    SUBCASE("text, with its terminating zero") {
        Registry::WriteString(L"HKEY_CURRENT_USER\\A\\B\\C", L"v", L"abc");
        RawValue v = RawGetValue(HKEY_CURRENT_USER, L"A\\B\\C", L"v");
        REQUIRE(v.exists);
        CHECK(v.type == REG_SZ);
        CHECK(v.data == std::vector<unsigned char>{'a', 0, 'b', 0, 'c', 0, 0, 0});
    }
    SUBCASE("number") {
        Registry::WriteDword(L"HKEY_CURRENT_USER\\A\\B", L"n", -2);
        RawValue v = RawGetValue(HKEY_CURRENT_USER, L"A\\B", L"n");
        REQUIRE(v.exists);
        CHECK(v.type == REG_DWORD);
        CHECK(v.data == std::vector<unsigned char>{0xfe, 0xff, 0xff, 0xff});
        CHECK(Registry::ReadDword(L"HKEY_CURRENT_USER\\A\\B", L"n") == -2);
    }
    SUBCASE("binary, also into a key that did not exist") {
        const std::wstring policies = Explorer + L"\\Policies";
        Registry::WriteBinary(policies, L"NoSaveSettings", BytesOf({1, 0, 0, 0}));
        RawValue v = RawGetValue(HKEY_CURRENT_USER,
                                 L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Policies",
                                 L"NoSaveSettings");
        REQUIRE(v.exists);
        CHECK(v.type == REG_BINARY);
        CHECK(v.data == std::vector<unsigned char>{1, 0, 0, 0});
    }
    SUBCASE("the default value and an overwrite") {
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\CLSID\\{X}", L"", L"first");
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\CLSID\\{X}", L"", L"second");
        CHECK(Registry::ReadString(L"HKEY_CLASSES_ROOT\\CLSID\\{X}", L"") == L"second");
    }
    SUBCASE("CreateKey makes the whole path") {
        Registry::CreateKey(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\One\\Two");
        CHECK(RawKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\One\\Two"));
    }
}

TEST_CASE("deleting values and keys") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{Y}\\Shell\\TS\\command", L"", L"tessaly.exe");
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{Y}\\Shell\\Other", L"", L"x");
    RawSetString(HKEY_CURRENT_USER, L"K", L"a", L"1");
    RawSetString(HKEY_CURRENT_USER, L"K", L"b", L"2");

    SUBCASE("a value goes and its neighbours stay") {
        Registry::DeleteValue(L"HKEY_CURRENT_USER\\K", L"a");
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, L"K", L"a").exists);
        CHECK(RawGetValue(HKEY_CURRENT_USER, L"K", L"b").exists);
    }
    SUBCASE("a missing value, key or parent is silent") {
        Registry::DeleteValue(L"HKEY_CURRENT_USER\\K", L"zzz");
        Registry::DeleteValue(L"HKEY_CURRENT_USER\\Nowhere", L"a");
        Registry::DeleteKey(L"HKEY_CURRENT_USER\\Nowhere", L"K");
        Registry::DeleteKey(L"HKEY_CURRENT_USER", L"Missing");
        CHECK(sandbox.messages.messages.empty());
        CHECK(RawGetValue(HKEY_CURRENT_USER, L"K", L"b").exists);
    }
    SUBCASE("a key without subkeys goes; its parent stays") {
        Registry::DeleteKey(L"HKEY_CLASSES_ROOT\\CLSID\\{Y}\\Shell\\TS", L"command");
        CHECK_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, L"CLSID\\{Y}\\Shell\\TS\\command"));
        CHECK(RawKeyExists(HKEY_CLASSES_ROOT, L"CLSID\\{Y}\\Shell\\TS"));
    }
    SUBCASE("a key with subkeys stays, as Windows NT keeps it") {
        Registry::DeleteKey(L"HKEY_CLASSES_ROOT\\CLSID\\{Y}\\Shell", L"TS");
        CHECK(RawKeyExists(HKEY_CLASSES_ROOT, L"CLSID\\{Y}\\Shell\\TS\\command"));
    }
}
