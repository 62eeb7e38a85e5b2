#pragma once
// RAII holders of the library. Tesselator shares no code with the program,
// so it keeps its own small set: each closes what it holds when it goes.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace tesselator {

template <typename T, void (*Close)(T)>
class CHolder {
public:
    CHolder() = default;
    explicit CHolder(T value) : m_value(value) {}
    ~CHolder() { Reset(); }
    CHolder(const CHolder&) = delete;
    CHolder& operator=(const CHolder&) = delete;

    T Get() const { return m_value; }
    T operator->() const { return m_value; }
    T* Put() { Reset(); return &m_value; }
    T Detach() { return std::exchange(m_value, T{}); }
    explicit operator bool() const { return m_value != T{}; }
    void Reset(T value = T{})
    {
        if (T old = std::exchange(m_value, value))
            Close(old);
    }

private:
    T m_value{};
};

namespace holder_detail {
inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void DeleteBitmap(HBITMAP bitmap) { DeleteObject(bitmap); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
template <typename I>
void ReleaseInterface(I* unknown) { unknown->Release(); }
void FreeWithShellAllocator(void* memory); // Holders.cpp
} // namespace holder_detail

using CKeyHolder = CHolder<HKEY, holder_detail::CloseKey>;
using CBitmapHolder = CHolder<HBITMAP, holder_detail::DeleteBitmap>;
using CMenuHolder = CHolder<HMENU, holder_detail::DestroyMenuHandle>;
// An item-ID list from the shell, freed with the shell's allocator.
using CShellMemoryHolder = CHolder<void*, holder_detail::FreeWithShellAllocator>;

// COM interface pointer: released when it goes.
template <typename I>
using CComHolder = CHolder<I*, holder_detail::ReleaseInterface<I>>;

} // namespace tesselator
