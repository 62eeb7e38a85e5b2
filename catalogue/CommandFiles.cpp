#include "catalogue/CommandFiles.h"

#include "framework/Handles.h"

#include <windows.h>

void ForEachCommandFile(const std::function<void(const std::wstring& path, CommandScope scope)>& visit)
{
    for (const CommandScope scope : {CommandScope::machine, CommandScope::user}) {
        const std::wstring folder = CmdsFolder(scope) + L"\\";
        WIN32_FIND_DATAW found{};
        CFindHandle search(FindFirstFileW((folder + L"*.cfg").c_str(), &found));
        if (!search)
            continue;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                visit(folder + found.cFileName, scope);
        } while (FindNextFileW(search.Get(), &found));
    }
}
