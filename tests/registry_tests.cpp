#include "registry/registry.h"
#include "support/leak_check.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <tuple>
#include <utility>
#include <vector>

namespace {
const std::wstring Cursors = L"HKEY_CURRENT_USER\\Control Panel\\Cursors";
const std::wstring Explorer = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

Registry::Bytes BytesOf(std::initializer_list<int> values) {
    Registry::Bytes b;
    for (int v : values) b.push_back(static_cast<std::byte>(v));
    return b;
}
} // namespace

TEST_CASE("a malformed path shows the format message, an unknown root name (letter case counting) is "
          "silent; both read as an unknown root and write nothing; the root alone addresses the root key") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Arrow", L"arrow.cur");
    RawSetString(HKEY_CURRENT_USER, L"", L"", L"root default");
    const std::wstring paths[] = {L"hkey_current_user\\Control Panel\\Cursors", Cursors + L"\\", L"",
                                  L"HKEY_LOCAL_MACHINES\\SOFTWARE",
                                  L"HKEY_Current_User\\Control Panel\\Cursors"};
    for (const std::wstring& path : paths) {
        const bool malformed = &path < paths + 3; // the rest name unknown roots
        CAPTURE(path);
        CHECK(Registry::ReadString(path, L"Arrow") == L"");
        CHECK(Registry::ReadDword(path, L"Arrow") == 0);
        CHECK(Registry::ReadBinary(path, L"Arrow") == Registry::Bytes{});
        Registry::WriteString(path, L"Arrow", L"other.cur");
        Registry::DeleteValue(path, L"Arrow");
        CHECK(sandbox.messages.messages ==
              std::vector<std::wstring>(malformed ? 5 : 0, L"Incorrect Format:\n\n" + path));
        sandbox.messages.messages.clear();
    }
    CHECK(Registry::ReadString(Cursors, L"Arrow") == L"arrow.cur");
    CHECK(Registry::ReadString(L"HKEY_CURRENT_USER", L"") == L"root default");
}

TEST_CASE("missing keys and values read as the sentinels; no operation leaves a key open") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Arrow", L"arrow.cur");
    const HandleCounts handles = LiveHandleCounts();
    CHECK(Registry::ReadString(Cursors, L"Arrow") == L"arrow.cur");
    CHECK(Registry::ReadDword(Cursors, L"Arrow") == 10);
    CHECK(Registry::ReadBinary(Cursors, L"Arrow").has_value());
    Registry::WriteDword(Cursors + L"\\New", L"n", 1);
    Registry::WriteBinary(Cursors, L"b", {});
    Registry::DeleteValue(Cursors, L"b");
    Registry::DeleteKey(Cursors, L"New");
    Registry::CreateKey(Cursors + L"\\Made");
    for (const std::wstring& path : {std::wstring(L"HKEY_CURRENT_USER\\No\\Such\\Key"), Cursors}) {
        CHECK(Registry::ReadString(path, L"Wait") == L"Error");
        CHECK(Registry::ReadDword(path, L"Wait") == 10);
        CHECK_FALSE(Registry::ReadBinary(path, L"Wait").has_value());
    }
    CHECK(sandbox.messages.messages.empty());
    CHECK(LiveHandleCounts() == handles);
}

TEST_CASE("a read cache opens each key once and never shows what a write replaced") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Arrow", L"arrow.cur");
    RawSetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"a", L"1");
    const long keys = LiveHandles(HandleKind::Key);
    {
        const Registry::ReadCache cache;
        const Registry::ReadCache inner; // shares the outer one's keys
        for (const wchar_t* name : {L"Arrow", L"Wait", L"Arrow"}) Registry::ReadString(Cursors, name);
        for (const wchar_t* name : {L"a", L"b"}) Registry::ReadString(Explorer, name);
        CHECK(Registry::ReadString(Cursors + L"\\Scheme", L"Name") == L"Error");
        CHECK(LiveHandles(HandleKind::Key) == keys + 2); // the missing key holds nothing
        // A write, a created key and a deletion are seen by the next read.
        Registry::WriteString(Cursors, L"Arrow", L"new.cur");
        CHECK(Registry::ReadString(Cursors, L"Arrow") == L"new.cur");
        Registry::WriteString(Cursors + L"\\Scheme", L"Name", L"Large");
        CHECK(Registry::ReadString(Cursors + L"\\Scheme", L"Name") == L"Large");
        Registry::DeleteKey(Cursors, L"Scheme");
        CHECK(Registry::ReadString(Cursors + L"\\Scheme", L"Name") == L"Error");
    }
    CHECK(LiveHandles(HandleKind::Key) == keys);
    CHECK(Registry::ReadString(Cursors, L"Arrow") == L"new.cur");
}

TEST_CASE("text reads: spaces, NULs and long values") {
    RegistrySandbox sandbox;
    const wchar_t noZero[] = {L'a', L'b', L' ', L' '}, twoTexts[] = L"first\0second";
    RawSetValue(HKEY_CURRENT_USER, L"T", L"noZero", REG_SZ, noZero, sizeof noZero);
    RawSetValue(HKEY_CURRENT_USER, L"T", L"multi", REG_MULTI_SZ, twoTexts, sizeof twoTexts);
    const std::wstring unicode = L"C:\\\u0424\u0430\u0439\u043b\\\u65e5\u672c.ico,2";
    Registry::WriteString(L"HKEY_CURRENT_USER\\T", L"unicode", unicode);
    const std::pair<std::wstring, std::wstring> stored[] = {
        {L"  abc  ", L"abc  "}, // leading spaces go; trailing ones stay when the text carries its zero
        {std::wstring(255, L'x'), std::wstring(255, L'x')},
        {L"C:\\" + std::wstring(2000, L'p'), L"C:\\" + std::wstring(2000, L'p')},
        {L"", L""}, // empty, not a failure
    };
    for (const auto& [text, read] : stored) {
        RawSetString(HKEY_CURRENT_USER, L"T", L"v", text);
        CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"v") == read);
    }
    CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"noZero") == L"ab"); // trailing spaces go
    CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"multi") == L"first");
    CHECK(Registry::ReadString(L"HKEY_CURRENT_USER\\T", L"unicode") == unicode);
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

TEST_CASE("writes create missing keys with their parents and store exact data; deletes are silent") {
    RegistrySandbox sandbox;
    Registry::WriteString(L"HKEY_CURRENT_USER\\A\\B\\C", L"v", L"abc");
    Registry::WriteDword(L"HKEY_CURRENT_USER\\A\\B", L"n", -2);
    Registry::WriteBinary(L"HKEY_CURRENT_USER\\A\\D", L"b", BytesOf({1, 0, 0, 0}));
    Registry::CreateKey(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\One\\Two");
    const std::tuple<const wchar_t*, const wchar_t*, DWORD, std::vector<unsigned char>> stored[] = {
        {L"A\\B\\C", L"v", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0}}, // with its terminating zero
        {L"A\\B", L"n", REG_DWORD, {0xfe, 0xff, 0xff, 0xff}},
        {L"A\\D", L"b", REG_BINARY, {1, 0, 0, 0}},
    };
    for (const auto& [subkey, name, type, data] : stored) {
        const RawValue v = RawGetValue(HKEY_CURRENT_USER, subkey, name);
        CHECK(v.type == type);
        CHECK(v.data == data);
    }
    CHECK(RawKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\One\\Two"));

    Registry::DeleteValue(L"HKEY_CURRENT_USER\\A\\B", L"n");
    Registry::DeleteValue(L"HKEY_CURRENT_USER\\Nowhere", L"a");
    Registry::DeleteKey(L"HKEY_CURRENT_USER\\Nowhere", L"K");
    Registry::DeleteKey(L"HKEY_CURRENT_USER\\A\\B", L"C");
    Registry::DeleteKey(L"HKEY_CURRENT_USER", L"A"); // a key with subkeys stays, as Windows NT keeps it
    CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, L"A\\B", L"n").exists);
    CHECK_FALSE(RawKeyExists(HKEY_CURRENT_USER, L"A\\B\\C"));
    CHECK(RawKeyExists(HKEY_CURRENT_USER, L"A\\D"));
    CHECK(sandbox.messages.messages.empty());
}
