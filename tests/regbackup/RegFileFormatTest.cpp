// The registry editor's file format and the backup naming rules.
#include "regbackup/BackupRules.h"
#include "regbackup/RegFileFormat.h"

#include "tests/regbackup/RegKeyPrinter.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

std::string Utf16(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string File(std::u16string_view text)
{
    return "\xFF\xFE"s + Utf16(text);
}

std::string Written(const RegKey& root)
{
    std::string bytes, why;
    EXPECT_TRUE(WriteRegFile(root, bytes, why)) << why;
    return bytes;
}

} // namespace

TEST(RegFileFormat, WritesTheEditorsFormWithLineContinuationAndReadsEveryValueBackExactly)
{
    RegKey root;
    root.name = u"HKEY_CURRENT_USER\\Software\\X";
    root.values = {
        {u"", kRegSz, Utf16(u"C:\\a \"b\""s + u'\0')},
        {u"n", kRegDword, "\x0a\0\0\0"s},
        {u"Caf\u00e9 \u65e5\U0001F600 \"q\" \\", kRegExpandSz, Utf16(u"%SystemRoot%\\x"s + u'\0')},
        {u"multi", kRegMultiSz, Utf16(u"a\0b\0\0"s)},
        {u"q", kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"s},
        {u"odd", kRegSz, "ab\0"s},                       // no whole terminator: kept as bytes
        {u"breaks", kRegSz, Utf16(u"two\r\nlines"s + u'\0')}, // a line break cannot be quoted
        {u"none", kRegNone, ""},
        {u"own", 0x12345, "\xff"s},
        {u"@", kRegBinary, std::string(100, '\x5a')},
    };
    root.subkeys = {{u"Sub \u00e9", {{u"", kRegDword, "\xff\xff\xff\xff"s}}, {{u"Deeper", {}, {}}}}};

    const std::string bytes = Written(root);
    const std::u16string head = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\X]\r\n"
                                u"@=\"C:\\\\a \\\"b\\\"\"\r\n"
                                u"\"n\"=dword:0000000a\r\n"
                                u"\"Caf\u00e9 \u65e5\U0001F600 \\\"q\\\" \\\\\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,"
                                u"6d,00,52,00,6f,\\\r\n"
                                u"  00,6f,00,74,00,25,00,5c,00,78,00,00,00\r\n";
    EXPECT_EQ(File(head), bytes.substr(0, 2 + 2 * head.size()));
    const std::u16string tail = u"\"own\"=hex(12345):ff\r\n";
    EXPECT_NE(std::string::npos, bytes.find(Utf16(tail)));
    EXPECT_NE(std::string::npos, bytes.find(Utf16(u"\"none\"=hex(0):\r\n")));
    EXPECT_NE(std::string::npos, bytes.find(Utf16(u"\r\n[HKEY_CURRENT_USER\\Software\\X\\Sub \u00e9\\Deeper]\r\n")));
    // Every line of the long binary value stays within 80 columns.
    const size_t binary = bytes.find(Utf16(u"\"@\"=hex:"));
    ASSERT_NE(std::string::npos, binary);
    size_t lines = 0;
    for (size_t at = binary, end; (end = bytes.find(Utf16(u"\r\n"), at)) != std::string::npos; at = end + 4) {
        EXPECT_LE((end - at) / 2, 80u);
        if (bytes[end - 2] != '\\')
            break;
        ++lines;
    }
    EXPECT_EQ(4u, lines);

    const RegFileRead read = ReadRegFile(bytes);
    ASSERT_EQ("", read.error);
    EXPECT_EQ(root, read.root);
}

TEST(RegFileFormat, ReadsWhatTheEditorAndPeopleWriteAndMergesRepeatedKeys)
{
    const RegFileRead read = ReadRegFile(File(u"Windows Registry Editor Version 5.00\n\n"
                                              u"; comment\r\n"
                                              u"[HKEY_LOCAL_MACHINE\\A]\r\n"
                                              u"[HKEY_LOCAL_MACHINE\\A\\B\\C]\r\n"
                                              u"  \"v\" = HEX(7):61 , 00 ,\\\r\n"
                                              u"      00,00\r\n"
                                              u"[hkey_local_machine\\a]\r\n"
                                              u"\"\"=dword:1\r\n"
                                              u"\"X\"=\"first\"\r\n"
                                              u"\"x\"=\"second\"\r\n"
                                              u"[HKEY_LOCAL_MACHINE\\A\\b]\r\n"));
    ASSERT_EQ("", read.error);
    EXPECT_EQ(u"HKEY_LOCAL_MACHINE\\A", read.root.name);
    ASSERT_EQ(2u, read.root.values.size());
    EXPECT_EQ((RegValue{u"", kRegDword, "\x01\0\0\0"s}), read.root.values[0]);
    EXPECT_EQ((RegValue{u"X", kRegSz, Utf16(u"second"s + u'\0')}), read.root.values[1]);
    ASSERT_EQ(1u, read.root.subkeys.size()); // B made on the way to C, then named again as b
    EXPECT_EQ(u"B", read.root.subkeys[0].name);
    ASSERT_EQ(1u, read.root.subkeys[0].subkeys.size());
    EXPECT_EQ((std::vector<RegValue>{{u"v", kRegMultiSz, "a\0\0\0"s}}), read.root.subkeys[0].subkeys[0].values);
}

TEST(RegFileFormat, RefusesHostileOrBrokenFilesAndSaysWhere)
{
    const std::u16string header = u"Windows Registry Editor Version 5.00\r\n";
    const std::u16string key = u"[HKEY_CURRENT_USER\\K]\r\n";
    std::u16string deep = header + key + u"[HKEY_CURRENT_USER\\K";
    for (int i = 0; i <= kMaxRegDepth; ++i)
        deep += u"\\d";
    deep += u"]\r\n";
    for (const std::string& file : {
             ""s, "\xFF"s, Utf16(header + key), "\xFF\xFE"s + Utf16(header).substr(1), // no BOM, odd length
             File(u"REGEDIT4\r\n" + key), File(header + u"\"v\"=\"before any key\"\r\n"),
             File(header + key + u"[HKEY_CURRENT_USER\\Other]\r\n"),  // outside the first key
             File(header + key + u"[HKEY_CURRENT_USER\\Kx]\r\n"),     // a sibling, not below
             File(header + u"[-HKEY_CURRENT_USER\\K]\r\n"), File(header + key + u"\"v\"=-\r\n"),
             File(header + key + u"[HKEY_CURRENT_USER\\K\\..]\r\n"), File(header + key + u"[HKEY_CURRENT_USER\\K\\\\x]\r\n"),
             File(header + key + u"[HKEY_CURRENT_USER\\K\\" + std::u16string(256, u'n') + u"]\r\n"),
             File(header + u"[HKEY_CURRENT_USER\\K\r\n"), File(header + key + u"\"v\"=\"C:\\x\"\r\n"),
             File(header + key + u"\"v\"=\"open\r\n"), File(header + key + u"\"v\"=\"a\" b\r\n"),
             File(header + key + u"\"v\"=dword:123456789\r\n"), File(header + key + u"\"v\"=hex:1g\r\n"),
             File(header + key + u"\"v\"=hex:01,,02\r\n"), File(header + key + u"\"v\"=hex:01,\\\r\n"),
             File(header + key + u"\"v\"=hex(x):01\r\n"), File(header + key + u"\"v\"=str:x\r\n"),
             File(header + key + u"v=\"x\"\r\n"), File(header + key + u"\"a\0b\"=\"x\"\r\n"s),
             File(deep), File(header + key) + std::string(kMaxRegFileBytes, ' ')}) {
        const RegFileRead read = ReadRegFile(file);
        EXPECT_NE("", read.error) << file.size();
        EXPECT_EQ(RegKey{}, read.root);
    }
    EXPECT_EQ("Line 3: a key lies outside the first key of the file.",
              ReadRegFile(File(header + key + u"[HKEY_CURRENT_USER\\Other]\r\n")).error);

    // What no line can carry is not written either.
    std::string bytes, why;
    EXPECT_FALSE(WriteRegFile({u"HKEY_CURRENT_USER\\K", {}, {{u"a\nb", {}, {}}}}, bytes, why));
    EXPECT_FALSE(WriteRegFile({u"HKEY_CURRENT_USER\\K", {{u"a\rb", kRegSz, ""}}, {}}, bytes, why));
    EXPECT_NE("", why);
}

TEST(BackupRules, OnlyOneAppPathsEntryOfEitherScopeIsABackupsKey)
{
    CommandScope scope = CommandScope::machine;
    std::u16string name;
    std::string why;
    EXPECT_TRUE(AppPathsEntryOfRegPath(
        u"hkey_current_user\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Caf\u00e9.exe", scope, name, why));
    EXPECT_EQ(CommandScope::user, scope);
    EXPECT_EQ(u"Caf\u00e9.exe", name);
    EXPECT_EQ(AppPathsEntryRegPath(CommandScope::machine, u"x.exe"),
              u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\x.exe");
    EXPECT_TRUE(AppPathsEntryOfRegPath(AppPathsEntryRegPath(CommandScope::machine, u"x.exe"), scope, name, why));
    EXPECT_EQ(CommandScope::machine, scope);
    for (const std::u16string& path :
         {u"HKEY_CURRENT_USER\\Software\\Evil"s, u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"s,
          AppPathsEntryRegPath(CommandScope::machine, u""), AppPathsEntryRegPath(CommandScope::user, u"x.exe\\sub"),
          AppPathsEntryRegPath(CommandScope::user, u".."), u"HKEY_USERS\\S-1\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\x"s}) {
        why.clear();
        EXPECT_FALSE(AppPathsEntryOfRegPath(path, scope, name, why));
        EXPECT_NE("", why);
    }
}

TEST(BackupRules, FileNamesAreSafeSortableAndReadBack)
{
    const BackupStamp stamp{2026, 12, 8, 13, 45, 1};
    EXPECT_EQ(u"x.exe-20261208-134501.reg", BackupFileName(u"x.exe", stamp, 1));
    EXPECT_EQ(u"a_b_c_-20261208-134501-2.reg", BackupFileName(u"a:b?c*", stamp, 2));
    EXPECT_EQ(u"_con.exe-20261208-134501.reg", BackupFileName(u"con.exe", stamp, 1));
    EXPECT_EQ(u"_LPT1-20261208-134501.reg", BackupFileName(u"LPT1", stamp, 1));
    EXPECT_EQ(64u + 20u, BackupFileName(std::u16string(300, u'n'), stamp, 1).size());
    // Shortened, a name never keeps half a surrogate pair.
    EXPECT_EQ(std::u16string(63, u'\u540D') + u"-20261208-134501.reg",
              BackupFileName(std::u16string(63, u'\u540D') + u"\U0001F4F7", stamp, 1));

    BackupStamp read;
    int attempt = 0;
    EXPECT_TRUE(ParseBackupFileName(u"a-b-20261208-134501-12.REG", read, attempt));
    EXPECT_EQ(stamp, read);
    EXPECT_EQ(12, attempt);
    EXPECT_TRUE(ParseBackupFileName(BackupFileName(u"x", stamp, 1), read, attempt));
    EXPECT_EQ(1, attempt);
    for (const char16_t* other : {u"x.reg", u"-20261208-134501.reg", u"x-20261308-134501.reg", u"x-20261208-134501.txt",
                                  u"x-20261208-134501-1.reg", u"x-2026120-134501.reg"})
        EXPECT_FALSE(ParseBackupFileName(other, read, attempt)) << ::testing::PrintToString(std::u16string(other));
}
