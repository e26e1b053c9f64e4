#pragma once
// One move-only owner for every Win32 handle type. A traits type names the close function, the value
// that means "no handle" (null for most, INVALID_HANDLE_VALUE for files) and the kind it is counted as.
// Every owner counts the handles it holds per kind, so tests can see a handle that was never closed:
// Wine reports no GDI or kernel handle counts of its own.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <atomic>
#include <utility>

enum class HandleKind {
    Key,
    Icon,
    Cursor,
    Gdi,
    Dc,
    Menu,
    ImageList,
    Module,
    Kernel,
    File,
    Window,
    Accelerators,
    Count
};

namespace handle_detail {
inline std::array<std::atomic<long>, static_cast<size_t>(HandleKind::Count)> live{};
} // namespace handle_detail

// Handles taken by an owner and not closed yet: a released handle still counts, since nothing we can see
// closes it.
inline long LiveHandles(HandleKind kind) {
    return handle_detail::live[static_cast<size_t>(kind)].load();
}

template <typename Traits> class UniqueHandle {
public:
    using H = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(H h) { Adopt(h); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Invalid());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid(); }
    H release() { return std::exchange(h_, Invalid()); }
    void reset(H h = Invalid()) {
        if (h_ != Invalid()) {
            Traits::Close(h_);
            --Counter();
        }
        h_ = Invalid();
        Adopt(h);
    }
    // For out-parameters: frees what is held and hands out a slot; what the call leaves there is owned (and
    // counted) once the full expression ends.
    class Slot {
    public:
        explicit Slot(UniqueHandle& owner) : owner_(owner) {}
        ~Slot() { owner_.Adopt(h_); }
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        operator H*() { return &h_; }

    private:
        UniqueHandle& owner_;
        H h_ = Invalid();
    };
    Slot put() {
        reset();
        return Slot(*this);
    }
    // After a call that failed: whatever it left in the slot is no handle.
    void abandon() {
        if (h_ != Invalid()) --Counter();
        h_ = Invalid();
    }

private:
    static H Invalid() { return Traits::Invalid(); }
    static std::atomic<long>& Counter() { return handle_detail::live[static_cast<size_t>(Traits::Kind)]; }
    void Adopt(H h) {
        h_ = h;
        if (h_ != Invalid()) ++Counter();
    }

    H h_ = Invalid();
};

namespace handle_detail {
template <typename T, auto CloseFn, HandleKind K> struct NullTraits {
    using Handle = T;
    static constexpr HandleKind Kind = K;
    static void Close(T h) { CloseFn(h); }
    static T Invalid() { return T{}; }
};
struct FileTraits {
    using Handle = HANDLE;
    static constexpr HandleKind Kind = HandleKind::File;
    static void Close(HANDLE h) { CloseHandle(h); }
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};
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
inline void CloseAccelerators(HACCEL h) {
    DestroyAcceleratorTable(h);
}
template <typename T, auto CloseFn, HandleKind K> using Owner = UniqueHandle<NullTraits<T, CloseFn, K>>;
} // namespace handle_detail

using UniqueHKey = handle_detail::Owner<HKEY, handle_detail::CloseKey, HandleKind::Key>;
using UniqueHIcon = handle_detail::Owner<HICON, handle_detail::CloseIcon, HandleKind::Icon>;
using UniqueHCursor = handle_detail::Owner<HCURSOR, handle_detail::CloseCursor, HandleKind::Cursor>;
using UniqueGdiObj = handle_detail::Owner<HGDIOBJ, handle_detail::CloseGdi, HandleKind::Gdi>;
using UniqueHBitmap = handle_detail::Owner<HBITMAP, handle_detail::CloseGdi, HandleKind::Gdi>;
using UniqueHFont = handle_detail::Owner<HFONT, handle_detail::CloseGdi, HandleKind::Gdi>;
using UniqueHBrush = handle_detail::Owner<HBRUSH, handle_detail::CloseGdi, HandleKind::Gdi>;
using UniqueMemDc = handle_detail::Owner<HDC, handle_detail::CloseDc, HandleKind::Dc>;
using UniqueHMenu = handle_detail::Owner<HMENU, handle_detail::CloseMenu, HandleKind::Menu>;
using UniqueHImageList =
    handle_detail::Owner<HIMAGELIST, handle_detail::CloseImageList, HandleKind::ImageList>;
using UniqueHAccel = handle_detail::Owner<HACCEL, handle_detail::CloseAccelerators, HandleKind::Accelerators>;
using UniqueHModule = handle_detail::Owner<HMODULE, handle_detail::CloseModule, HandleKind::Module>;
// Process, thread, token and pipe handles, whose "no handle" is null.
using UniqueKernelHandle = handle_detail::Owner<HANDLE, handle_detail::CloseKernel, HandleKind::Kernel>;
// What CreateFile returns: INVALID_HANDLE_VALUE, not null, means no file.
using UniqueFile = UniqueHandle<handle_detail::FileTraits>;
// Only for top-level windows the owner creates and must destroy itself (child windows belong to their
// parent).
using UniqueTopWindow = handle_detail::Owner<HWND, handle_detail::CloseWindow, HandleKind::Window>;
