#pragma once
// A scratch registry, a scratch program folder with Cmds, and recorded boxes.
#include "catalogue/CommandPaths.h"
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
    std::wstring DefaultValue(const std::wstring& name) const
    {
        DWORD type = 0;
        std::wstring bytes;
        return ReadRawValue(HKEY_LOCAL_MACHINE, Key(name), L"", type, bytes) ? bytes : L"<none>";
    }

    CServicesGuard services;
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
};
