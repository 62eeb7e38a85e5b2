#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

const std::string kKey = "Software\\Scratch";

TEST(RegistryKey, SetStringCountsTheTerminatorAndGetStringReadsItBack)
{
    CRegistrySandbox sandbox;
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey, KEY_WRITE | KEY_QUERY_VALUE));
    ASSERT_TRUE(key.SetString("", "C:\\Docs"));
    ASSERT_TRUE(key.SetString("empty", ""));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kKey, "", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(std::string("C:\\Docs\0", 8), bytes);
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kKey, "empty", type, bytes));
    EXPECT_EQ(std::string("\0", 1), bytes);

    std::string text = "unchanged";
    EXPECT_TRUE(key.GetString("", text));
    EXPECT_EQ("C:\\Docs", text);
    text = "unchanged";
    EXPECT_FALSE(key.GetString("missing", text));
    EXPECT_EQ("unchanged", text);
}

TEST(RegistryKey, GetStringStaysWithinItsBufferWhateverIsStored)
{
    CRegistrySandbox sandbox;
    // No terminator stored: read back whole thanks to the zeroed buffer.
    WriteRawValue(HKEY_CURRENT_USER, kKey, "bare", REG_SZ, "Docs");
    // 259 characters plus terminator: the largest text that fits.
    const std::string fits(259, 'f');
    WriteRawValue(HKEY_CURRENT_USER, kKey, "fits", REG_SZ, fits + std::string(1, '\0'));
    WriteRawValue(HKEY_CURRENT_USER, kKey, "full", REG_SZ, std::string(260, 'g'));
    WriteRawValue(HKEY_CURRENT_USER, kKey, "long", REG_SZ, std::string(300, 'h') + std::string(1, '\0'));
    WriteRawValue(HKEY_CURRENT_USER, kKey, "dword", REG_DWORD, std::string("A\0\0\0", 4));

    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, KEY_QUERY_VALUE));
    std::string text;
    EXPECT_TRUE(key.GetString("bare", text));
    EXPECT_EQ("Docs", text);
    EXPECT_TRUE(key.GetString("fits", text));
    EXPECT_EQ(fits, text);
    text = "kept";
    EXPECT_FALSE(key.GetString("full", text));
    EXPECT_FALSE(key.GetString("long", text));
    EXPECT_EQ("kept", text);
    EXPECT_TRUE(key.GetString("dword", text)); // the type is not looked at
    EXPECT_EQ("A", text);
    EXPECT_TRUE(key.GetStringWhole("long", text));
    EXPECT_EQ(std::string(300, 'h'), text);
}

TEST(RegistryKey, OpenCloseDeleteAndTheAccessSeam)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    CRegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey + "\\Child", KEY_WRITE));
    // Opening another key closes the held one first.
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    std::string name;
    EXPECT_TRUE(key.EnumSubkey(0, name));
    EXPECT_EQ("Child", name);
    EXPECT_FALSE(key.EnumSubkey(1, name));
    key.Close();

    // One level only: a key with a subkey stays.
    EXPECT_FALSE(CRegistryKey::DeleteKey(HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(CRegistryKey::DeleteKey(HKEY_CURRENT_USER, kKey + "\\Child"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kKey + "\\Child"));

    Services().registryAccess = [](HKEY root, const std::string&, REGSAM) { return root != HKEY_CURRENT_USER; };
    EXPECT_FALSE(key.Create(HKEY_CURRENT_USER, kKey + "\\New", KEY_WRITE));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.LastError());
    EXPECT_FALSE(CRegistryKey::DeleteKey(HKEY_CURRENT_USER, kKey));
    Services().registryAccess = nullptr;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kKey + "\\New"));
    EXPECT_TRUE(CRegistryKey::DeleteKey(HKEY_CURRENT_USER, kKey));
}

} // namespace
