#pragma once
// The main window's File menu Export... and Import...: the same file the
// /export and /import command lines use, with the common file dialogs and
// a preview of the import before anything is written.
#include <windows.h>

class ITransferHost {
public:
    // Owner of the file dialogs and the preview.
    virtual HWND OwnerWindow() const = 0;
    // An import changed the stores: the pages show them anew.
    virtual void ReloadStores() = 0;

protected:
    ~ITransferHost() = default;
};

class CTransferCommands {
public:
    explicit CTransferCommands(ITransferHost& host) : m_host(host) {}

    void OnFileExport() const;
    void OnFileImport() const;

private:
    ITransferHost& m_host;
};
