#pragma once
// COM on this thread for the lifetime of the object: balances a successful
// CoInitialize on every path out.
#include <objbase.h>

class CComApartment {
public:
    CComApartment() : m_result(CoInitialize(nullptr)) {}
    ~CComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
    bool Ok() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};
