#pragma once
// RAII holders for the Win32 handles the program acquires. Each closes what
// it holds on destruction and on Reset; none can be copied.
#include <windows.h>

#include <utility>

// Traits: a static Invalid() value and a static Close(T).
template <typename Traits>
class CUniqueHandle {
    using T = typename Traits::Type;
    static T Invalid() { return Traits::Invalid(); }

public:
    CUniqueHandle() = default;
    explicit CUniqueHandle(T value) : m_value(value) {}
    ~CUniqueHandle() { Reset(); }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_value(other.Release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    T Get() const { return m_value; }
    explicit operator bool() const { return m_value != Invalid(); }
    T Release() { return std::exchange(m_value, Invalid()); }
    void Reset(T value = Invalid())
    {
        if (m_value != Invalid())
            Traits::Close(m_value);
        m_value = value;
    }

private:
    T m_value = Invalid();
};

namespace handle_detail {
template <typename H, auto Closer>
struct NullTraits {
    using Type = H;
    static H Invalid() { return nullptr; }
    static void Close(H h) { Closer(h); }
};
struct FileTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void FreeLibraryHandle(HMODULE h) { FreeLibrary(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void FreeLocalMemory(HLOCAL h) { LocalFree(h); }
} // namespace handle_detail

using CFileHandle = CUniqueHandle<handle_detail::FileTraits>;
using CFindHandle = CUniqueHandle<handle_detail::FindTraits>;
// Tokens, processes and the like: null when there is none.
using CKernelHandle = CUniqueHandle<handle_detail::NullTraits<HANDLE, handle_detail::CloseKernelHandle>>;
using CLibraryHandle = CUniqueHandle<handle_detail::NullTraits<HMODULE, handle_detail::FreeLibraryHandle>>;
using CIconHandle = CUniqueHandle<handle_detail::NullTraits<HICON, handle_detail::DestroyIconHandle>>;
using CMenuHandle = CUniqueHandle<handle_detail::NullTraits<HMENU, handle_detail::DestroyMenuHandle>>;
using CBitmapHandle = CUniqueHandle<handle_detail::NullTraits<HBITMAP, handle_detail::DeleteGdiObject>>;
using CFontHandle = CUniqueHandle<handle_detail::NullTraits<HFONT, handle_detail::DeleteGdiObject>>;
// Memory the system handed over to be freed with LocalFree (security
// descriptors, SID strings).
using CLocalMemory = CUniqueHandle<handle_detail::NullTraits<HLOCAL, handle_detail::FreeLocalMemory>>;

// Holder of one COM interface pointer: releases what it holds.
template <typename T>
class CInterfacePtr {
public:
    CInterfacePtr() = default;
    ~CInterfacePtr() { Reset(); }
    CInterfacePtr(const CInterfacePtr&) = delete;
    CInterfacePtr& operator=(const CInterfacePtr&) = delete;

    T* Get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    // For out-parameters: releases what is held first.
    T** Put()
    {
        Reset();
        return &m_ptr;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset()
    {
        if (m_ptr) {
            m_ptr->Release();
            m_ptr = nullptr;
        }
    }

private:
    T* m_ptr = nullptr;
};
