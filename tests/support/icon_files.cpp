#include "support/icon_files.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void Put16(std::string& b, std::uint16_t v) {
    b.push_back(static_cast<char>(v & 0xff));
    b.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

std::string Chunk(const char* id, const std::string& data) {
    std::string c(id, 4);
    Put32(c, static_cast<std::uint32_t>(data.size()));
    c += data;
    if (data.size() % 2) c.push_back('\0');
    return c;
}

} // namespace

std::wstring FixtureFolder() {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, n);
    return path.substr(0, path.rfind(L'\\') + 1) + L"fixtures\\";
}

TempMachine::TempMachine() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"tessaly-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
    windows = root + L"\\Windows";
    system = windows + L"\\System";
    app = root + L"\\App";
    fs::create_directories(system);
    fs::create_directories(app);
}

TempMachine::~TempMachine() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::wstring TempMachine::Copy(const std::wstring& fixture, const std::wstring& folder) const {
    std::wstring target = folder + L"\\" + fixture;
    fs::copy_file(FixtureFolder() + fixture, target, fs::copy_options::overwrite_existing);
    return target;
}

std::wstring TempMachine::Write(const std::wstring& folder, const std::wstring& name,
                                const std::string& bytes) const {
    std::wstring target = folder + L"\\" + name;
    std::ofstream(fs::path(target), std::ios::binary) << bytes;
    return target;
}

std::wstring TempMachine::MakeFolder(const std::wstring& name) const {
    std::wstring folder = root + L"\\" + name;
    fs::create_directories(folder);
    return folder;
}

std::string IconFileBytes(IconFileKind kind) {
    const bool cursor = kind == IconFileKind::Cursor;
    std::string image;
    Put32(image, 40); // BITMAPINFOHEADER, height counting both masks
    Put32(image, 32);
    Put32(image, 64);
    Put16(image, 1);
    Put16(image, 1);
    for (int i = 0; i < 6; ++i) Put32(image, 0);
    Put32(image, 0x000000);                                                             // black
    Put32(image, 0xffffff);                                                             // white
    for (int row = 0; row < 32; ++row) Put32(image, row % 2 ? 0xffff0000 : 0x0000ffff); // stripes
    for (int row = 0; row < 32; ++row) Put32(image, row < 16 ? 0 : 0xffffffff);         // top half opaque

    std::string file;
    Put16(file, 0);
    Put16(file, cursor ? 2 : 1);
    Put16(file, 1);
    file.push_back(32);
    file.push_back(32);
    file.push_back(2);
    file.push_back(0);
    Put16(file, cursor ? 0 : 1); // hot spot x, or planes
    Put16(file, cursor ? 0 : 1); // hot spot y, or bits per pixel
    Put32(file, static_cast<std::uint32_t>(image.size()));
    Put32(file, 22);
    return file + image;
}

std::string AnimatedCursorBytes() {
    std::string header;
    Put32(header, 36); // ANIHEADER
    Put32(header, 1);  // frames
    Put32(header, 1);  // steps
    for (int i = 0; i < 4; ++i) Put32(header, 0);
    Put32(header, 10); // jiffies per frame
    Put32(header, 1);  // frames are icon files
    std::string frames = "fram" + Chunk("icon", IconFileBytes(IconFileKind::Cursor));
    std::string body = "ACON" + Chunk("anih", header) + Chunk("LIST", frames);
    return Chunk("RIFF", body);
}
