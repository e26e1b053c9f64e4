#include "controls/settings_tree.h"
#include "controls/tree_pictures.h"
#include "platform/gdi_guards.h"
#include "settings/settings_catalogue.h"
#include "support/registry_sandbox.h"

#include <doctest/doctest.h>

#include "platform/text.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace doctest {
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& s) {
        std::string quoted = "\"";
        quoted += text::Narrow(s);
        quoted += '"';
        return quoted.c_str();
    }
};
} // namespace doctest

namespace {

StartupFacts Facts(bool nt, bool plus) {
    StartupFacts f;
    f.OsKind = nt ? L"Win NT" : L"Win 95";
    f.OsName = nt ? L"Windows NT" : L"Windows 95";
    f.HasPlus = plus;
    f.OwnExePath = L"C:\\Tools\\Tessaly.exe";
    return f;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A plain top-level window to hold the tree, as the Shell tab does.
struct Holder {
    Holder() {
        window.reset(CreateWindowExW(0, L"STATIC", L"Settings",
                                     WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 420, 640,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        REQUIRE(window);
    }
    UniqueTopWindow window;
};

struct ShownItem {
    std::wstring text;
    int image = -1, selectedImage = -1, depth = 0;
};

ShownItem ReadItem(HWND tree, HTREEITEM item) {
    wchar_t buffer[128] = {};
    TVITEMW read{};
    read.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    read.hItem = item;
    read.pszText = buffer;
    read.cchTextMax = 128;
    REQUIRE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read)));
    return {buffer, read.iImage, read.iSelectedImage, 0};
}

// Every item of the tree view, first to last as shown when all is open.
void Walk(HWND tree, HTREEITEM first, int depth, std::vector<ShownItem>& out) {
    for (HTREEITEM item = first; item;
         item = reinterpret_cast<HTREEITEM>(
             SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        ShownItem shown = ReadItem(tree, item);
        shown.depth = depth;
        out.push_back(shown);
        Walk(tree,
             reinterpret_cast<HTREEITEM>(
                 SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
             depth + 1, out);
    }
}

std::vector<ShownItem> Shown(HWND tree) {
    std::vector<ShownItem> out;
    Walk(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0, out);
    return out;
}

int Depth(const SettingsState& state, const SettingNode& node) {
    int depth = 0;
    for (const SettingNode* n = &node; !n->Parent.empty(); n = state.Find(n->Parent)) ++depth;
    return depth;
}

int ShownImage(HWND tree, HTREEITEM item) {
    return ReadItem(tree, item).image;
}

// Writes the window as it is on screen to a .bmp, for people to look at.
void SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    WindowDc screen(nullptr);
    UniqueMemDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueHBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        SelectGuard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    }
    GdiFlush();
    const DWORD stride = (w * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{0x4d42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + stride * h;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, stride, h, out);
        fclose(out);
    }
}

} // namespace

TEST_CASE("the tree's pictures come from the pixel maps") {
    const auto maps = TreePictureMaps();
    REQUIRE(maps.size() == SettingImageCount);
    for (std::string_view map : maps) CHECK(map.size() == TreePictureSize * TreePictureSize);

    UniqueHImageList list = MakeTreeImageList();
    REQUIRE(list);
    CHECK(ImageList_GetImageCount(list.get()) == 7);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.get(), &cx, &cy);
    CHECK(cx == 16);
    CHECK(cy == 16);

    // Each picture drawn over a background shows the map's colours and the background where it is clear.
    const COLORREF background = RGB(1, 2, 3);
    WindowDc screen(nullptr);
    UniqueMemDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueHBitmap canvas(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard select(memory.get(), canvas.get());
    UniqueHBrush brush(CreateSolidBrush(background));
    for (int picture = 0; picture < 7; ++picture) {
        CAPTURE(picture + 1);
        RECT all{0, 0, 16, 16};
        FillRect(memory.get(), &all, brush.get());
        ImageList_Draw(list.get(), picture, memory.get(), 0, 0, ILD_NORMAL);
        int wrong = 0, clear = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const char c = maps[picture][y * 16 + x];
                const COLORREF expected = c == '.' ? background : PixelMapColour(c).value_or(0xFFFFFFFF);
                if (c == '.') ++clear;
                if (GetPixel(memory.get(), x, y) != expected) ++wrong;
            }
        }
        CHECK(wrong == 0);
        CHECK(clear > 0);
    }
    CHECK(PixelMapColour('.') == std::nullopt);
    CHECK(PixelMapColour('x') == std::nullopt);
    CHECK(PixelMapColour('o') == RGB(255, 255, 255));
}

TEST_CASE("SystemTree shows the settings state and follows it") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\desktop", L"MenuShowDelay", L"65535");
    SettingsState state;
    Add_TreeItems(Facts(true, false), state);
    Holder holder;
    SettingsTree view(state);
    REQUIRE(view.Create(holder.window.get(), 7, RECT{0, 0, 400, 600}));
    HWND tree = view.SystemTree();
    REQUIRE(tree);
    wchar_t className[64] = {};
    GetClassNameW(tree, className, 64);
    CHECK(std::wstring(className) == WC_TREEVIEWW);

    SUBCASE("every node with its caption, depth and pictures, nothing open or selected") {
        CHECK(SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 58);
        const auto shown = Shown(tree);
        REQUIRE(shown.size() == 58);
        for (int i = 0; i < 58; ++i) {
            const SettingNode& node = state.Node(i);
            CAPTURE(node.Key);
            CHECK(shown[i].text == node.Caption);
            CHECK(shown[i].depth == Depth(state, node));
            CHECK(shown[i].image == static_cast<int>(node.Image) - 1);
            CHECK(shown[i].selectedImage == static_cast<int>(node.SelectedImage()) - 1);
            CHECK_FALSE(view.IsExpanded(node.Key));
        }
        CHECK(shown[9].text == L"\"Shortcut to\" Prefix on New Shortcuts");
        CHECK(shown[0].selectedImage == 1);                         // a group selected shows it open
        CHECK(ShownImage(tree, view.Item(L"Font Smoothing")) == 6); // unavailable without Plus!
        CHECK(ShownImage(tree, view.Item(L"Menu Show Delay")) == 3);
        CHECK(ShownImage(tree, view.Item(L"Delay Until Clicked")) == 5);
        CHECK(view.SelectedKey() == L"");
    }
    SUBCASE("an image change in the state shows at once") {
        HTREEITEM beep = view.Item(L"Beep On Errors");
        REQUIRE(beep);
        CHECK(ShownImage(tree, beep) == 5);
        state.SetImage(L"Beep On Errors", SettingImage::Off);
        CHECK(ShownImage(tree, beep) == 4);
        CHECK(ReadItem(tree, beep).selectedImage == 4);
        state.SetImage(L"Delay Until Clicked", SettingImage::Off);
        state.SetImage(L"Menu Show Delay", SettingImage::Editable);
        CHECK(ShownImage(tree, view.Item(L"Menu Show Delay")) == 2);
        CHECK(ShownImage(tree, view.Item(L"Delay Until Clicked")) == 4);
    }
    SUBCASE("open groups show the open folder, closed ones the closed folder") {
        CHECK(view.Expand(L"General"));
        CHECK(ShownImage(tree, view.Item(L"General")) == 1);
        CHECK(view.Collapse(L"General"));
        CHECK(ShownImage(tree, view.Item(L"General")) == 0);
        CHECK_FALSE(view.Expand(L"Beep On Errors")); // no children to show

        // Opened from the keyboard, as a user does: the control reports it and the picture follows.
        view.SelectNode(L"Icons");
        SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
        Pump();
        CHECK(view.IsExpanded(L"Icons"));
        CHECK(ShownImage(tree, view.Item(L"Icons")) == 1);
        SendMessageW(tree, WM_KEYDOWN, VK_LEFT, 0);
        Pump();
        CHECK_FALSE(view.IsExpanded(L"Icons"));
        CHECK(ShownImage(tree, view.Item(L"Icons")) == 0);

        view.ExpandAll();
        for (const SettingNode& node : state.Nodes())
            if (node.Kind == SettingKind::Group) {
                CAPTURE(node.Key);
                CHECK(view.IsExpanded(node.Key));
                CHECK(ShownImage(tree, view.Item(node.Key)) == 1);
            }
        view.CollapseAll();
        CHECK_FALSE(view.IsExpanded(L"Menu Items"));
        CHECK(ShownImage(tree, view.Item(L"Menu Items")) == 0);
    }
    SUBCASE("selection, keys, double-clicks and hit tests reach the editor by key") {
        std::vector<std::wstring> clicks, doubles, keys;
        view.SetEvents({
            .NodeClick = [&](const std::wstring& key) { clicks.push_back(key); },
            .DblClick = [&](const std::wstring& key) { doubles.push_back(key); },
            .KeyDown =
                [&](const std::wstring& key, WORD vk) {
                    keys.push_back(key + L" " + std::to_wstring(vk));
                    return vk == VK_SPACE;
                },
        });
        CHECK(view.SelectNode(L"Drag Width"));
        CHECK(view.SelectedKey() == L"Drag Width");
        CHECK(view.IsExpanded(L"Drag")); // scrolled into view
        CHECK(clicks == std::vector<std::wstring>{L"Drag Width"});
        CHECK_FALSE(view.SelectNode(L"No Such Setting"));

        SendMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
        Pump();
        CHECK(keys == std::vector<std::wstring>{L"Drag Width 32"});

        RECT rect{};
        HTREEITEM dragWidth = view.Item(L"Drag Width");
        std::memcpy(&rect, &dragWidth, sizeof dragWidth); // the message takes the item in the rectangle
        REQUIRE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
        const POINT inside{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        CHECK(view.NodeAt(inside) == L"Drag Width");
        CHECK(view.NodeAt(POINT{5, 590}) == L"");
        // A press makes the control wait for the button's release, so the release is queued first.
        const LPARAM at = MAKELPARAM(inside.x, inside.y);
        PostMessageW(tree, WM_LBUTTONUP, 0, at);
        SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        Pump();
        CHECK(doubles == std::vector<std::wstring>{L"Drag Width"});
    }
}

TEST_CASE("SystemTree made before the state is filled shows the nodes as they are added") {
    RegistrySandbox sandbox;
    SettingsState state;
    Holder holder;
    SettingsTree view(state);
    REQUIRE(view.Create(holder.window.get(), 7, RECT{0, 0, 300, 400}));
    CHECK(SendMessageW(view.SystemTree(), TVM_GETCOUNT, 0, 0) == 0);
    Add_TreeItems(Facts(false, true), state);
    CHECK(SendMessageW(view.SystemTree(), TVM_GETCOUNT, 0, 0) == 57);
    const auto shown = Shown(view.SystemTree());
    REQUIRE(shown.size() == 57);
    for (int i = 0; i < 57; ++i) CHECK(shown[i].text == state.Node(i).Caption);
    CHECK(ShownImage(view.SystemTree(), view.Item(L"Font Smoothing")) == 4); // off, Plus! present
    CHECK(view.Item(L"Extended Sounds On Errors") == nullptr);
}

TEST_CASE("a picture of the tree filled from a fresh registry, when asked for") {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TESSALY_SHOT_DIR", folder, MAX_PATH)) return;
    RegistrySandbox sandbox;
    SettingsState state;
    Add_TreeItems(Facts(true, false), state);
    Holder holder;
    SettingsTree view(state);
    REQUIRE(view.Create(holder.window.get(), 7, RECT{0, 0, 400, 600}));
    HWND tree = view.SystemTree();

    view.ExpandAll();
    view.SelectNode(L"General");
    SendMessageW(tree, WM_VSCROLL, SB_TOP, 0);
    UpdateWindow(holder.window.get());
    Pump();
    Sleep(300);
    Pump();
    const std::wstring path = std::wstring(folder) + L"\\settings_tree.bmp";
    SaveWindowPicture(holder.window.get(), path);
    CHECK(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    // The tree is taller than the screen: the lower half too.
    view.EnsureNodeVisible(L"Restore Window Position");
    UpdateWindow(holder.window.get());
    Pump();
    SaveWindowPicture(holder.window.get(), std::wstring(folder) + L"\\settings_tree_end.bmp");
}
