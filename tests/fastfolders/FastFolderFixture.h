#pragma once
// Scratch HKCU holding the Fast Folder key, and raw access to its values.
#include "fastfolders/FastFolderStore.h"
#include "framework/Services.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <string>

class FastFolderStoreFixture : public ::testing::Test {
protected:
    void SetUp() override { CreateKey(HKEY_CURRENT_USER, kFastFolderKey); }

    static void Put(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ)
    {
        WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, name, type, text + '\0');
    }
    static void PutItem(int index, const std::wstring& alias, const std::wstring& path)
    {
        const std::wstring name = std::to_wstring(index);
        Put(name, alias);
        Put(name + name, path);
    }
    // The value's bytes as stored, terminator included; "<absent>" when missing.
    static std::wstring Raw(const std::wstring& name)
    {
        DWORD type = 0;
        std::wstring bytes;
        if (!ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, name, type, bytes))
            return L"<absent>";
        return bytes;
    }
    static DWORD Values() { return CountValues(HKEY_CURRENT_USER, kFastFolderKey); }

    CServicesGuard m_services;
    CRegistrySandbox m_sandbox;
};
