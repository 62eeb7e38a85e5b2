#pragma once
// Predefined registry roots of this process redirected to scratch keys
// under the real HKCU, removed again afterwards, so a bench never touches
// the prefix's own entries.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class CScratchRoots {
public:
    explicit CScratchRoots(std::initializer_list<std::pair<HKEY, const wchar_t*>> roots)
    {
        m_path = L"Software\\VerbosaBench\\" + std::to_wstring(GetCurrentProcessId());
        for (const auto& [root, label] : roots) {
            HKEY key = nullptr;
            RegCreateKeyExW(HKEY_CURRENT_USER, (m_path + L"\\" + label).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr);
            m_keys.emplace_back(root, key);
        }
        // Only once every scratch key exists: each lives under the real HKCU.
        for (const auto& [root, key] : m_keys)
            RegOverridePredefKey(root, key);
    }
    ~CScratchRoots()
    {
        for (const auto& [root, key] : m_keys) {
            RegOverridePredefKey(root, nullptr);
            RegCloseKey(key);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    CScratchRoots(const CScratchRoots&) = delete;
    CScratchRoots& operator=(const CScratchRoots&) = delete;

private:
    std::wstring m_path;
    std::vector<std::pair<HKEY, HKEY>> m_keys; // root, scratch key
};
