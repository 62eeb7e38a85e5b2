#include "transfer/TransferCommandLine.h"

#include <vector>

namespace {

// Blank-separated words; a double-quoted part may hold blanks.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}

bool SameSwitch(const std::string& word, const char* name)
{
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
        return false;
    const std::string rest = word.substr(1);
    if (rest.size() != std::char_traits<char>::length(name))
        return false;
    for (size_t i = 0; i < rest.size(); ++i)
        if ((rest[i] | 0x20) != name[i])
            return false;
    return true;
}

} // namespace

TransferParse ParseTransferCommandLine(const std::string& commandLine)
{
    TransferParse parse;
    const std::vector<std::string> words = Words(commandLine);
    if (words.empty() || !(SameSwitch(words[0], "export") || SameSwitch(words[0], "import")))
        return parse;
    TransferRequest request;
    request.action = SameSwitch(words[0], "export") ? TransferRequest::Action::exportFile
                                                    : TransferRequest::Action::importFile;
    const bool importing = request.action == TransferRequest::Action::importFile;
    if (words.size() < 2 || words[1].empty()) {
        parse.error = "The file is missing after " + words[0] + ".";
        return parse;
    }
    request.file = words[1];
    for (size_t i = 2; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (SameSwitch(word, "log") && i + 1 < words.size()) {
            request.logFile = words[++i];
        } else if (importing && SameSwitch(word, "replace")) {
            request.replace = true;
        } else if (importing && SameSwitch(word, "scope") && i + 1 < words.size()) {
            const std::string& scope = words[++i];
            if (scope == "user")
                request.scope = CommandScope::user;
            else if (scope == "machine")
                request.scope = CommandScope::machine;
            else {
                parse.error = "/scope takes user or machine, not " + scope + ".";
                return parse;
            }
        } else {
            parse.error = "Unknown or incomplete option: " + word + ".";
            return parse;
        }
    }
    parse.request = request;
    return parse;
}
