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

    static void Put(const std::string& name, const std::string& text, DWORD type = REG_SZ)
    {
        WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, name, type, text + '\0');
    }
    static void PutItem(int index, const std::string& alias, const std::string& path)
    {
        const std::string name = std::to_string(index);
        Put(name, alias);
        Put(name + name, path);
    }
    // The value's bytes as stored, terminator included; "<absent>" when missing.
    static std::string Raw(const std::string& name)
    {
        DWORD type = 0;
        std::string bytes;
        if (!ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, name, type, bytes))
            return "<absent>";
        return bytes;
    }
    static DWORD Values() { return CountValues(HKEY_CURRENT_USER, kFastFolderKey); }

    CServicesGuard m_services;
    CRegistrySandbox m_sandbox;
};
