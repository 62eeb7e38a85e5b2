#pragma once
// The library runs inside other vendors' programs: no C++ exception may
// leave it. Every COM method and export runs its body through Guarded.
#include <windows.h>

#include <new>

namespace tesselator {

template <typename Body>
HRESULT Guarded(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

} // namespace tesselator
