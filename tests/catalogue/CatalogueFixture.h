#pragma once
// A scratch registry, a scratch program folder with Cmds, and recorded boxes.
#include "catalogue/CommandPaths.h"
#include "framework/CodePage.h"
#include "framework/Services.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/CommandFilesPaths.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextList.h"

#include <gtest/gtest.h>

class CatalogueTest : public ::testing::Test {
protected:
    std::wstring Key(const std::wstring& name) const { return AppPathsKeyName(name); }
    std::wstring Link(const std::wstring& name) const { return CommandLinkFile(folder.Cmds(), name); }
    std::wstring Cfg(const std::wstring& name) const { return CommandPropertiesFile(folder.Cmds(), name); }
    // The raw bytes of the entry's default value.
    std::string DefaultValue(const std::wstring& name) const
    {
        DWORD type = 0;
        std::string bytes;
        return ReadRawValue(HKEY_LOCAL_MACHINE, Key(name), L"", type, bytes) ? bytes : "<none>";
    }
    // A properties file of ASCII lines: the same bytes in the code page
    // form and in UTF-8.
    static std::string AsciiProperties(const std::vector<std::wstring>& lines)
    {
        std::vector<std::string> bytes;
        for (const auto& line : lines)
            bytes.push_back(WideToUtf8(line).value());
        return PropertiesBytes(bytes);
    }

    CServicesGuard services;
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
};
