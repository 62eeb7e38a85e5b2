// The start mode is decided on the whole command line, byte for byte: a ':'
// anywhere is path mode, exactly "-ffsettings" the Fast Folders page and
// exactly "-systemcommands" the System Commands page.
#include "app/CommandLine.h"
#include "fuzz/Check.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const StartMode mode = ClassifyCommandLine(line);
    if (line.find(':') != std::string::npos)
        FUZZ_CHECK(mode == StartMode::path);
    else if (line == "-ffsettings")
        FUZZ_CHECK(mode == StartMode::fastFolders);
    else if (line == "-systemcommands")
        FUZZ_CHECK(mode == StartMode::system);
    else
        FUZZ_CHECK(mode == StartMode::normal);
    return 0;
}
