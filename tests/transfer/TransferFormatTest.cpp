#include "transfer/TransferFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TransferFormat, WritesAStableReadableFileThatReadsBackTheSame)
{
    const std::vector<TransferCommand> commands = {
        {"notes", "C:\\Windows\\notepad.exe", "", WindowMode::normal, CommandScope::user},
        {"big", "C:\\Tools\\\"quoted\".exe", "-a \"b\"", WindowMode::maximized, CommandScope::machine},
        {"caf\xC3\xA9", "C:\\Caf\xC3\xA9", "", WindowMode::minimized, CommandScope::machine}};
    const std::vector<TransferFolder> folders = {{"Docs", "C:\\Docs"}};
    const std::string text = WriteTransferJson(commands, folders);
    EXPECT_EQ(0u, text.find("{\n  \"format\": \"verbosa\",\n  \"version\": 1,\n  \"commands\": [\n    {\n"
                            "      \"name\": \"notes\",\n      \"target\": \"C:\\\\Windows\\\\notepad.exe\",\n"
                            "      \"parameters\": \"\",\n      \"window\": \"normal\",\n      \"scope\": \"user\"\n"));

    const TransferRead read = ReadTransferJson(text);
    ASSERT_EQ("", read.error);
    ASSERT_EQ(3u, read.commands.size());
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ("", read.commands[i].problem);
        EXPECT_EQ(commands[i], read.commands[i].value);
    }
    ASSERT_EQ(1u, read.fastFolders.size());
    EXPECT_EQ(folders[0], read.fastFolders[0].value);
    EXPECT_EQ("", WriteTransferJson({{"bad\xFF", "C:\\x", "", WindowMode::normal, CommandScope::user}}, {}));
}

TEST(TransferFormat, AnUnusableFileOrEntryIsSaidWhyAndTheRestStays)
{
    for (const std::string& text :
         {std::string("not json"), std::string("{\"format\": \"verbosa\", \"version\": 1, \"commands\": ["),
          std::string("[1, 2]"), std::string("{\"format\": \"other\", \"version\": 1}"),
          std::string("{\"format\": \"verbosa\", \"version\": 2}"),
          std::string("{\"format\": \"verbosa\", \"version\": 1, \"commands\": {}}"),
          std::string(200000, '[') + std::string(200000, ']'), std::string(kMaxTransferFile + 1, ' ')})
        EXPECT_NE("", ReadTransferJson(text).error) << text.substr(0, 60);

    const TransferRead read = ReadTransferJson(R"({"format": "verbosa", "version": 1, "extra": true,
        "commands": [
            {"name": "ok", "target": "C:\\ok.exe", "parameters": "", "window": "normal", "scope": "user", "note": 1},
            {"name": "noTarget", "parameters": "", "window": "normal", "scope": "user"},
            {"name": 5, "target": "C:\\x", "parameters": "", "window": "normal", "scope": "user"},
            {"name": "odd", "target": "C:\\x", "parameters": "", "window": "huge", "scope": "user"},
            {"name": "where", "target": "C:\\x", "parameters": "", "window": "normal", "scope": "all"},
            "text"],
        "fastFolders": [{"alias": "A"}, {"alias": "B", "path": "C:\\B"}]})");
    ASSERT_EQ("", read.error);
    ASSERT_EQ(6u, read.commands.size());
    EXPECT_EQ("", read.commands[0].problem); // unknown fields are ignored
    EXPECT_EQ("\"target\" is missing or not a text", read.commands[1].problem);
    EXPECT_EQ("\"name\" is missing or not a text", read.commands[2].problem);
    EXPECT_EQ("\"window\" is not normal, minimized or maximized", read.commands[3].problem);
    EXPECT_EQ("\"scope\" is not user or machine", read.commands[4].problem);
    EXPECT_EQ("not an object", read.commands[5].problem);
    EXPECT_EQ("\"path\" is missing or not a text", read.fastFolders[0].problem);
    EXPECT_EQ("", read.fastFolders[1].problem);
}

TEST(TransferFormat, MoreEntriesOrDeeperNestingThanTheBoundsIsRefusedWithTheReason)
{
    const std::string head = R"({"format": "verbosa", "version": 1, )";
    auto list = [&](const char* name, size_t count, const std::string& entry) {
        std::string text = head + "\"" + name + "\": [";
        for (size_t i = 0; i < count; ++i)
            text += (i ? "," : "") + entry;
        return text + "]}";
    };
    const std::string command = R"({"name": "a", "target": "C:\\a", "parameters": "", "window": "normal",
        "scope": "user"})";
    EXPECT_EQ(kMaxTransferCommands, ReadTransferJson(list("commands", kMaxTransferCommands, command)).commands.size());
    const TransferRead tooMany = ReadTransferJson(list("commands", kMaxTransferCommands + 1, "1"));
    EXPECT_EQ("The file lists more than 10000 commands, more than any export of Verbosa.", tooMany.error);
    EXPECT_TRUE(tooMany.commands.empty());
    EXPECT_EQ(kMaxTransferFolders, ReadTransferJson(list("fastFolders", kMaxTransferFolders, "{}")).fastFolders.size());
    EXPECT_NE("", ReadTransferJson(list("fastFolders", kMaxTransferFolders + 1, "{}")).error);

    // An unknown field may nest, up to the bound: the file itself is one level.
    auto nested = [&](size_t levels) {
        return head + R"("extra": )" + std::string(levels - 1, '[') + std::string(levels - 1, ']') + "}";
    };
    EXPECT_EQ("", ReadTransferJson(nested(kMaxTransferNesting)).error);
    EXPECT_EQ("The file nests its values more than 32 levels deep, deeper than any export of Verbosa.",
              ReadTransferJson(nested(kMaxTransferNesting + 1)).error);

    // A repeated key counts once, as its last occurrence.
    const TransferRead twice = ReadTransferJson(head + R"("commands": [1, 2], "commands": [)" + command + "]}");
    ASSERT_EQ(1u, twice.commands.size());
    EXPECT_EQ("", twice.commands[0].problem);
}

} // namespace
