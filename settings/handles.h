// Owners for the platform handles the suite opens: each closes its handle exactly once.
// Where a close can fail and the failure must be reported, Close() hands back the result
// and the destructor then has nothing left to do.
#pragma once
#include <windows.h>

#include <utility>

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    HKEY* put() { Close(); return &key_; }
    bool valid() const { return key_ != nullptr; }
    // ERROR_SUCCESS when there was nothing to close.
    LONG Close()
    {
        if (key_ == nullptr) return ERROR_SUCCESS;
        HKEY k = std::exchange(key_, nullptr);
        return RegCloseKey(k);
    }

private:
    HKEY key_ = nullptr;
};

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    // TRUE when there was nothing to close.
    BOOL Close()
    {
        if (!valid()) return TRUE;
        HANDLE h = std::exchange(h_, INVALID_HANDLE_VALUE);
        return CloseHandle(h);
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

class FindHandle {
public:
    FindHandle() = default;
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() { Close(); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    BOOL Close()
    {
        if (!valid()) return TRUE;
        HANDLE h = std::exchange(h_, INVALID_HANDLE_VALUE);
        return FindClose(h);
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// A fixed GlobalAlloc block (pointer and handle are the same).
class GlobalBlock {
public:
    GlobalBlock() = default;
    ~GlobalBlock() { Free(); }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    bool Allocate(SIZE_T size)
    {
        Free();
        p_ = static_cast<BYTE*>(GlobalAlloc(GPTR, size));
        return p_ != nullptr;
    }
    BYTE* get() const { return p_; }
    // Hands the block over; the caller frees it with GlobalFree.
    BYTE* release() { return std::exchange(p_, nullptr); }
    // nullptr when freed (or nothing to free); otherwise the block GlobalFree refused.
    HGLOBAL Free()
    {
        if (p_ == nullptr) return nullptr;
        return GlobalFree(std::exchange(p_, nullptr));
    }

private:
    BYTE* p_ = nullptr;
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
    T** put() { Reset(); return &p_; }
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
