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
    std::string Key(const std::string& name) const { return AppPathsKeyName(name); }
    std::string Link(const std::string& name) const { return CommandLinkFile(folder.Cmds(), name); }
    std::string Cfg(const std::string& name) const { return CommandPropertiesFile(folder.Cmds(), name); }
    std::string DefaultValue(const std::string& name) const
    {
        DWORD type = 0;
        std::string bytes;
        return ReadRawValue(HKEY_LOCAL_MACHINE, Key(name), "", type, bytes) ? bytes : "<none>";
    }

    CServicesGuard services;
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
};
