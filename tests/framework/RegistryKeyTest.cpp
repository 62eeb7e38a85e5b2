#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kKey = L"Software\\Scratch";
// Cyrillic, Polish, Chinese and a character outside the basic plane.
const std::wstring kAnyScript = L"\u0418\u043d\u0441 \u0141ukasz \u540d \U0001F600";

std::string Bytes(const std::wstring& text, bool terminated)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + terminated) * sizeof(wchar_t));
}

void WriteWide(const std::wstring& name, DWORD type, const std::string& bytes)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey, KEY_SET_VALUE));
    ASSERT_TRUE(key.WriteValue(name, type, bytes));
}

TEST(RegistryKey, TextIsWrittenAsUtf16WithItsTerminatorAndReadBackExactly)
{
    CRegistrySandbox sandbox;
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey, KEY_WRITE | KEY_QUERY_VALUE));
    ASSERT_TRUE(key.WriteString(L"", L"C:\\Docs"));
    ASSERT_TRUE(key.WriteString(kAnyScript, kAnyScript));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key.ReadValue(L"", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(Bytes(L"C:\\Docs", true), bytes);

    std::wstring text = L"unchanged";
    EXPECT_TRUE(key.ReadString(kAnyScript, kRegistryTextMax, text));
    EXPECT_EQ(kAnyScript, text);
    text = L"unchanged";
    EXPECT_FALSE(key.ReadString(L"missing", kRegistryTextMax, text));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastError());
    EXPECT_EQ(L"unchanged", text);
}

TEST(RegistryKey, ReadStringChecksTheTypeAndTheLengthTheCallerGives)
{
    CRegistrySandbox sandbox;
    const std::wstring fits(259, L'f');
    WriteWide(L"bare", REG_SZ, Bytes(L"Docs", false)); // no terminator stored
    WriteWide(L"fits", REG_SZ, Bytes(fits, true));
    WriteWide(L"long", REG_SZ, Bytes(std::wstring(300, L'h'), true));
    WriteWide(L"huge", REG_SZ, Bytes(std::wstring(5000, L'g'), true)); // more than one read's buffer
    WriteWide(L"expand", REG_EXPAND_SZ, Bytes(L"%SystemRoot%\\x.exe", true));
    WriteWide(L"dword", REG_DWORD, std::string("A\0\0\0", 4));

    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, KEY_QUERY_VALUE));
    std::wstring text;
    EXPECT_TRUE(key.ReadString(L"bare", kRegistryTextMax, text));
    EXPECT_EQ(L"Docs", text);
    EXPECT_TRUE(key.ReadString(L"fits", kRegistryTextMax, text));
    EXPECT_EQ(fits, text);
    EXPECT_TRUE(key.ReadString(L"expand", kRegistryTextMax, text)); // as stored, not expanded
    EXPECT_EQ(L"%SystemRoot%\\x.exe", text);
    text = L"kept";
    EXPECT_FALSE(key.ReadString(L"long", kRegistryTextMax, text));
    EXPECT_EQ(ERROR_MORE_DATA, key.LastError());
    EXPECT_FALSE(key.ReadString(L"dword", kRegistryTextMax, text));
    EXPECT_EQ(ERROR_UNSUPPORTED_TYPE, key.LastError());
    EXPECT_EQ(L"kept", text);
    EXPECT_TRUE(key.ReadString(L"long", kRegistryTextWhole, text));
    EXPECT_EQ(std::wstring(300, L'h'), text);
    EXPECT_FALSE(key.ReadString(L"huge", kRegistryTextMax, text));
    EXPECT_EQ(ERROR_MORE_DATA, key.LastError());
    EXPECT_TRUE(key.ReadString(L"huge", kRegistryTextWhole, text));
    EXPECT_EQ(std::wstring(5000, L'g'), text);
}

TEST(RegistryKey, EnumerationOpenCloseDeleteAndTheAccessSeam)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    CRegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey + L"\\" + kAnyScript, KEY_WRITE));
    // Opening another key closes the held one first.
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey, KEY_READ | KEY_WRITE));
    ASSERT_TRUE(key.WriteValue(L"n", REG_DWORD, std::string("\x07\0\0\0", 4)));
    std::wstring name;
    EXPECT_TRUE(key.EnumSubkey(0, name));
    EXPECT_EQ(kAnyScript, name);
    EXPECT_FALSE(key.EnumSubkey(1, name));
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.LastError());
    DWORD type = 0;
    std::string bytes;
    EXPECT_TRUE(key.EnumValue(0, name, type, bytes));
    EXPECT_EQ(L"n", name);
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_EQ(std::string("\x07\0\0\0", 4), bytes);
    EXPECT_FALSE(key.EnumValue(1, name, type, bytes));
    key.Close();

    // One level only: a key with a subkey stays; DeleteTree takes it all.
    EXPECT_FALSE(CRegistryKey::DeleteKey(HKEY_CURRENT_USER, kKey));
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_CURRENT_USER; };
    EXPECT_FALSE(key.Create(HKEY_CURRENT_USER, kKey + L"\\New", KEY_WRITE));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.LastError());
    EXPECT_FALSE(CRegistryKey::DeleteKey(HKEY_CURRENT_USER, kKey + L"\\" + kAnyScript));
    EXPECT_EQ(ERROR_ACCESS_DENIED, CRegistryKey::DeleteTree(HKEY_CURRENT_USER, kKey));
    Services().registryAccess = nullptr;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Scratch\\New"));
    EXPECT_EQ(ERROR_SUCCESS, CRegistryKey::DeleteTree(HKEY_CURRENT_USER, kKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Scratch"));
}

} // namespace
