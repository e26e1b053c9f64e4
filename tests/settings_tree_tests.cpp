#include "controls/settings_tree.h"
#include "controls/surface_image.h"
#include "controls/tree_pictures.h"
#include "settings/settings_catalogue.h"
#include "support/dialog_script.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <string>
#include <vector>

namespace {

// The tree in a plain top-level window, as on the Shell tab.
struct ShownTree {
    explicit ShownTree(SettingsState& state) : view(state) {
        REQUIRE(view.Create(holder.get(), 7, RECT{0, 0, 400, 600}));
        tree = view.SystemTree();
    }
    OwnerWindow holder;
    SettingsTree view;
    HWND tree = nullptr;
};

struct ShownItem {
    std::wstring text;
    int image = -1, selectedImage = -1, depth = 0;
};

ShownItem ReadItem(HWND tree, HTREEITEM item) {
    wchar_t buffer[128] = {};
    TVITEMW read{TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, item, 0, 0, buffer, 128, 0, 0, 0, 0};
    REQUIRE(TreeView_GetItem(tree, &read));
    return {buffer, read.iImage, read.iSelectedImage, 0};
}

// Every item, first to last as shown when all is open.
void Walk(HWND tree, HTREEITEM item, int depth, std::vector<ShownItem>& out) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        out.push_back(ReadItem(tree, item));
        out.back().depth = depth;
        Walk(tree, TreeView_GetChild(tree, item), depth + 1, out);
    }
}

std::vector<ShownItem> Shown(HWND tree) {
    std::vector<ShownItem> out;
    Walk(tree, TreeView_GetRoot(tree), 0, out);
    return out;
}

int ShownImage(const ShownTree& t, const std::wstring& key) {
    return ReadItem(t.tree, t.view.Item(key)).image;
}

} // namespace

TEST_CASE("each tree picture is drawn from its pixel map, clear where the map is clear") {
    const auto maps = TreePictureMaps();
    REQUIRE(maps.size() == SettingImageCount);
    UniqueHImageList list = MakeTreeImageList();
    REQUIRE(list);
    REQUIRE(ImageList_GetImageCount(list.get()) == 7);

    const COLORREF background = RGB(1, 2, 3);
    SurfaceImage canvas;
    for (int picture = 0; picture < 7; ++picture) {
        CAPTURE(picture + 1);
        REQUIRE(maps[picture].size() == 256);
        canvas.Resize(16, 16, background, false);
        ImageList_Draw(list.get(), picture, canvas.dc(), 0, 0, ILD_NORMAL);
        int wrong = 0;
        for (int at = 0; at < 256; ++at) {
            const char c = maps[picture][at];
            wrong += canvas.Pixel(at % 16, at / 16) !=
                     PixelMapColour(c).value_or(c == '.' ? background : CLR_INVALID);
        }
        CHECK(wrong == 0);
        CHECK(maps[picture].find('.') != std::string_view::npos); // some of it is clear
    }
}

TEST_CASE("SystemTree shows the settings state and follows it") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\desktop", L"MenuShowDelay", L"65535");
    SettingsState state;
    Add_TreeItems(MachineFacts({true, false}), state);
    ShownTree t(state);

    SUBCASE("every node with its caption, depth and pictures") {
        const auto shown = Shown(t.tree);
        REQUIRE(shown.size() == 58);
        for (int i = 0; i < 58; ++i) {
            const SettingNode& node = state.Node(i);
            CAPTURE(node.Key);
            CHECK(shown[i].text == node.Caption);
            CHECK(shown[i].depth == (node.Parent.empty() ? 0 : shown[state.IndexOf(node.Parent)].depth + 1));
            CHECK(shown[i].image == static_cast<int>(node.Image) - 1);
            CHECK(shown[i].selectedImage == static_cast<int>(node.SelectedImage()) - 1);
        }
        CHECK(shown[0].selectedImage == 1);
        CHECK(ShownImage(t, L"Font Smoothing") == 6); // unavailable without Plus!
        CHECK(ShownImage(t, L"Menu Show Delay") == 3);
        CHECK(ShownImage(t, L"Delay Until Clicked") == 5);
    }
    SUBCASE("an image change in the state shows at once") {
        REQUIRE(ShownImage(t, L"Beep On Errors") == 5);
        state.SetImage(L"Beep On Errors", SettingImage::Off);
        CHECK(ShownImage(t, L"Beep On Errors") == 4);
        CHECK(ReadItem(t.tree, t.view.Item(L"Beep On Errors")).selectedImage == 4);
        state.SetImage(L"Menu Show Delay", SettingImage::Editable);
        CHECK(ShownImage(t, L"Menu Show Delay") == 2);
    }
    SUBCASE("a group opened or closed from the keyboard shows the open or closed folder") {
        t.view.SelectNode(L"Icons");
        SendMessageW(t.tree, WM_KEYDOWN, VK_RIGHT, 0);
        Pump();
        CHECK(t.view.IsExpanded(L"Icons"));
        CHECK(ShownImage(t, L"Icons") == 1);
        SendMessageW(t.tree, WM_KEYDOWN, VK_LEFT, 0);
        Pump();
        CHECK_FALSE(t.view.IsExpanded(L"Icons"));
        CHECK(ShownImage(t, L"Icons") == 0);
        CHECK_FALSE(t.view.Expand(L"Beep On Errors"));
    }
}
