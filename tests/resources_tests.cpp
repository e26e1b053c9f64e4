// The program file's own icons: the program's icon and the fourteen pointer pictures, in that order.
#include "platform/unique_handle.h"

#include <doctest/doctest.h>

#include <shellapi.h>

#include <filesystem>
#include <vector>

TEST_CASE("the program file carries fifteen 32-pixel icons, each with an outline of its own") {
    const std::wstring exe = std::filesystem::absolute(L"Tessaly.exe").wstring();
    REQUIRE(std::filesystem::exists(exe));
    CHECK(reinterpret_cast<UINT_PTR>(
              ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), static_cast<UINT>(-1))) == 15);
    std::vector<std::vector<unsigned char>> masks; // the AND masks
    for (UINT index = 0; index < 15; ++index) {
        CAPTURE(index);
        UniqueHIcon icon(ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), index));
        REQUIRE(icon);
        ICONINFO info{};
        GetIconInfo(icon.get(), &info);
        UniqueGdiObj mask(info.hbmMask), colour(info.hbmColor);
        BITMAP bm{};
        GetObjectW(info.hbmMask, sizeof bm, &bm);
        // A monochrome icon keeps its picture and mask in one bitmap of twice the height.
        CHECK(bm.bmWidth == 32);
        CHECK((info.hbmColor ? bm.bmHeight : bm.bmHeight / 2) == 32);
        std::vector<unsigned char> bits(32 * 64 / 8);
        GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
        bits.resize(32 * 32 / 8 * 2); // the AND half (and, for colour icons, the whole mask)
        for (const auto& other : masks) CHECK(other != bits);
        masks.push_back(bits);
    }
    CHECK(ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), 15) == nullptr);
}

TEST_CASE("the program file asks for common controls 6 and runs as invoker") {
    UniqueHModule module(
        LoadLibraryExW(std::filesystem::absolute(L"Tessaly.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    REQUIRE(module);
    HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    REQUIRE(found);
    auto* data = static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
    std::string manifest(data, SizeofResource(module.get(), found));
    CHECK(manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos);
    CHECK(manifest.find("version=\"6.0.0.0\"") != std::string::npos);
    CHECK(manifest.find("level=\"asInvoker\"") != std::string::npos);
}
