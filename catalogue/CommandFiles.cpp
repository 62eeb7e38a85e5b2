#include "catalogue/CommandFiles.h"

#include "framework/Handles.h"

#include <windows.h>

void ForEachCommandFile(const std::function<void(const std::string& path, CommandScope scope)>& visit)
{
    for (const CommandScope scope : {CommandScope::machine, CommandScope::user}) {
        const std::string folder = CmdsFolder(scope) + "\\";
        WIN32_FIND_DATAA found{};
        CFindHandle search(FindFirstFileA((folder + "*.cfg").c_str(), &found));
        if (!search)
            continue;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                visit(folder + found.cFileName, scope);
        } while (FindNextFileA(search.Get(), &found));
    }
}
