// Owners for the platform handles the suite opens: one template, one traits type per
// kind of handle. Each owner closes its handle exactly once. Where a close can fail and
// the failure must be reported, Close() hands back whether it worked and the destructor
// then has nothing left to do.
#pragma once
#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type h) : h_(h) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) Reset(other.release());
        return *this;
    }

    Type get() const { return h_; }
    // For an opening call that writes the handle: whatever was held is closed first.
    Type* put()
    {
        Close();
        return &h_;
    }
    bool valid() const { return Traits::Valid(h_); }
    explicit operator bool() const { return valid(); }
    // Hands the handle over; the caller closes it.
    Type release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(Type h = Traits::Invalid())
    {
        Close();
        h_ = h;
    }
    // true when closed, or when there was nothing to close. On false the system's
    // error code is the thread's last error.
    bool Close()
    {
        if (!valid()) return true;
        return Traits::Close(std::exchange(h_, Traits::Invalid()));
    }

private:
    Type h_ = Traits::Invalid();
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static bool Close(Type h)
    {
        const LONG rc = RegCloseKey(h);
        if (rc != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(rc));
        return rc == ERROR_SUCCESS;
    }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return FindClose(h) != FALSE; }
};

struct LibraryTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static bool Close(Type h) { return FreeLibrary(h) != FALSE; }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static bool Close(Type h) { return DestroyIcon(h) != FALSE; }
};

struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    // Explorer destroys its context menu with every popup in it; a submenu may already
    // be gone when its owner lets it go.
    static bool Close(Type h) { return !IsMenu(h) || DestroyMenu(h) != FALSE; }
};

// A GlobalAlloc block (fixed or movable).
struct GlobalTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static bool Close(Type h) { return GlobalFree(h) == nullptr; }
};

// A GlobalLock held on a movable block; the owner unlocks it.
struct GlobalLockTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static bool Close(Type h)
    {
        // GlobalUnlock gives FALSE both when the lock count reached zero (success, last
        // error NO_ERROR) and on failure.
        SetLastError(NO_ERROR);
        return GlobalUnlock(h) != FALSE || GetLastError() == NO_ERROR;
    }
};

using RegKey = UniqueHandle<RegKeyTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using LibraryHandle = UniqueHandle<LibraryTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using GlobalMemory = UniqueHandle<GlobalTraits>;
using GlobalLockHandle = UniqueHandle<GlobalLockTraits>;

// The data of a locked movable block for as long as the owner lives.
template <typename T>
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL block)
        : data_(block != nullptr ? static_cast<T*>(GlobalLock(block)) : nullptr),
          lock_(data_ != nullptr ? block : nullptr)
    {
    }
    T* get() const { return data_; }
    bool valid() const { return data_ != nullptr; }

private:
    T* data_;
    GlobalLockHandle lock_;
};

// A zero-filled fixed GlobalAlloc block (pointer and handle are the same).
class GlobalBlock {
public:
    bool Allocate(SIZE_T size)
    {
        block_.Reset(GlobalAlloc(GPTR, size));
        return block_.valid();
    }
    BYTE* get() const { return static_cast<BYTE*>(block_.get()); }
    // Hands the block over; the caller frees it with GlobalFree.
    BYTE* release() { return static_cast<BYTE*>(block_.release()); }
    bool Free() { return block_.Close(); }

private:
    GlobalMemory block_;
};

// A STGMEDIUM filled by IDataObject::GetData, released once.
class StgMedium {
public:
    StgMedium() { Clear(); }
    ~StgMedium() { Reset(); }
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;

    STGMEDIUM* put()
    {
        Reset();
        return &medium_;
    }
    const STGMEDIUM& get() const { return medium_; }
    void Reset()
    {
        if (medium_.tymed != TYMED_NULL) ReleaseStgMedium(&medium_);
        Clear();
    }
    // After a failed GetData the structure may hold anything: nothing is released.
    void Forget() { Clear(); }

private:
    void Clear()
    {
        medium_.tymed = TYMED_NULL;
        medium_.hGlobal = nullptr;
        medium_.pUnkForRelease = nullptr;
    }
    STGMEDIUM medium_;
};

// One reference to a COM interface.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put()
    {
        Reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    // Keeps its own reference to `p`.
    void Assign(T* p)
    {
        if (p != nullptr) p->AddRef();
        Reset();
        p_ = p;
    }
    void Reset()
    {
        if (p_ != nullptr) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};
