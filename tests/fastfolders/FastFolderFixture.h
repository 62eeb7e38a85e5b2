#pragma once
// Scratch HKCU holding the Fast Folder key, and raw access to its values.
#include "fastfolders/FastFolderStore.h"
#include "framework/Services.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <string>

class FastFolderStoreFixture : public ::testing::Test {
protected:
    void SetUp() override { CreateKey(HKEY_CURRENT_USER, FastFolderKey()); }

    static void Put(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ)
    {
        WriteStringValue(HKEY_CURRENT_USER, FastFolderKey(), name, text, type);
    }
    static void PutItem(int index, const std::wstring& alias, const std::wstring& path)
    {
        const std::wstring name = std::to_wstring(index);
        Put(name, alias);
        Put(name + name, path);
    }
    // The value's bytes as stored, terminator included; "<absent>" when missing.
    static std::string Raw(const std::wstring& name)
    {
        DWORD type = 0;
        std::string bytes;
        if (!ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), name, type, bytes))
            return "<absent>";
        return bytes;
    }
    static DWORD Values() { return CountValues(HKEY_CURRENT_USER, FastFolderKey()); }

    CServicesGuard m_services;
    CRegistrySandbox m_sandbox;
};
