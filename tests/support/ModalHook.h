#pragma once
// Runs every modal dialog opened meanwhile through `hook` instead of a
// message loop; the hook in place before comes back afterwards.
#include "framework/Dialog.h"

#include <utility>

class CModalHookGuard {
public:
    explicit CModalHookGuard(CDialog::ModalHook hook) : m_previous(CDialog::SetModalHook(std::move(hook))) {}
    ~CModalHookGuard() { CDialog::SetModalHook(std::move(m_previous)); }
    CModalHookGuard(const CModalHookGuard&) = delete;
    CModalHookGuard& operator=(const CModalHookGuard&) = delete;

private:
    CDialog::ModalHook m_previous;
};
