#pragma once
// One move-only owner for every Win32 handle type; the close function is a template parameter so
// that each alias costs nothing beyond the handle itself.
#include <windows.h>
#include <commctrl.h>
#include <utility>

template <typename H, auto Close, H Invalid = H{}> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    H release() { return std::exchange(h_, Invalid); }
    void reset(H h = Invalid) {
        if (h_ != Invalid) Close(h_);
        h_ = h;
    }
    // For out-parameters: frees what is held and hands out the slot.
    H* put() {
        reset();
        return &h_;
    }

private:
    H h_ = Invalid;
};

namespace handle_detail {
inline void CloseKey(HKEY h) {
    RegCloseKey(h);
}
inline void CloseIcon(HICON h) {
    DestroyIcon(h);
}
inline void CloseCursor(HCURSOR h) {
    DestroyCursor(h);
}
inline void CloseGdi(HGDIOBJ h) {
    DeleteObject(h);
}
inline void CloseDc(HDC h) {
    DeleteDC(h);
}
inline void CloseMenu(HMENU h) {
    DestroyMenu(h);
}
inline void CloseImageList(HIMAGELIST h) {
    ImageList_Destroy(h);
}
inline void CloseModule(HMODULE h) {
    FreeLibrary(h);
}
inline void CloseKernel(HANDLE h) {
    CloseHandle(h);
}
inline void CloseWindow(HWND h) {
    DestroyWindow(h);
}
} // namespace handle_detail

using UniqueHKey = UniqueHandle<HKEY, handle_detail::CloseKey>;
using UniqueHIcon = UniqueHandle<HICON, handle_detail::CloseIcon>;
using UniqueHCursor = UniqueHandle<HCURSOR, handle_detail::CloseCursor>;
using UniqueGdiObj = UniqueHandle<HGDIOBJ, handle_detail::CloseGdi>;
using UniqueHBitmap = UniqueHandle<HBITMAP, handle_detail::CloseGdi>;
using UniqueHFont = UniqueHandle<HFONT, handle_detail::CloseGdi>;
using UniqueHBrush = UniqueHandle<HBRUSH, handle_detail::CloseGdi>;
using UniqueMemDc = UniqueHandle<HDC, handle_detail::CloseDc>;
using UniqueHMenu = UniqueHandle<HMENU, handle_detail::CloseMenu>;
using UniqueHImageList = UniqueHandle<HIMAGELIST, handle_detail::CloseImageList>;
using UniqueHModule = UniqueHandle<HMODULE, handle_detail::CloseModule>;
using UniqueKernelHandle = UniqueHandle<HANDLE, handle_detail::CloseKernel>;
// Only for top-level windows the owner creates and must destroy itself (child windows belong to their
// parent).
using UniqueTopWindow = UniqueHandle<HWND, handle_detail::CloseWindow>;
