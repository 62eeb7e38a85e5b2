#pragma once
// Joins the calling thread to a single-threaded COM apartment for the
// holder's lifetime, and leaves it only when the join succeeded (a thread
// already in another apartment gets RPC_E_CHANGED_MODE and must not leave).
#include <objbase.h>

class CComApartment {
public:
    CComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~CComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

    bool Ok() const { return SUCCEEDED(m_result); }
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};
