#include "shellext/ClassFactory.h"

#include "shellext/ComBoundary.h"
#include "shellext/Module.h"
#include "shellext/SimpleShlExt.h"

namespace tesselator {

namespace {

using Creator = HRESULT (*)(IUnknown* outer, REFIID riid, void** result);

// One static factory per class. While anyone outside holds it, it keeps
// the module loaded.
class CClassFactory final : public IClassFactory {
public:
    explicit CClassFactory(Creator create) : m_create(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override
    {
        return Guarded([&] {
            if (!result)
                return E_POINTER;
            *result = nullptr;
            if (riid != IID_IUnknown && riid != IID_IClassFactory)
                return E_NOINTERFACE;
            *result = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        });
    }

    STDMETHODIMP_(ULONG) AddRef() override
    {
        const LONG refs = InterlockedIncrement(&m_refs);
        if (refs == 1)
            LockModule();
        return static_cast<ULONG>(refs);
    }

    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            UnlockModule();
        return static_cast<ULONG>(refs);
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** result) override
    {
        return Guarded([&] {
            if (!result)
                return E_POINTER;
            *result = nullptr;
            // An aggregate may only ask for the inner object's own IUnknown.
            if (outer && riid != IID_IUnknown)
                return CLASS_E_NOAGGREGATION;
            return m_create(outer, riid, result);
        });
    }

    STDMETHODIMP LockServer(BOOL lock) override
    {
        return Guarded([&] {
            if (lock)
                LockModule();
            else
                UnlockModule();
            return S_OK;
        });
    }

private:
    Creator m_create;
    LONG m_refs = 0;
};

struct ClassEntry {
    const CLSID* clsid;
    CClassFactory* factory;
};

CClassFactory g_simpleShlExtFactory(&SimpleShlExt::CreateInstance);

const ClassEntry kClasses[] = {
    {&CLSID_SimpleShlExt, &g_simpleShlExtFactory},
};

} // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    for (const ClassEntry& entry : kClasses) {
        if (*entry.clsid == clsid)
            return entry.factory->QueryInterface(riid, result);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace tesselator
