// Host-side controls of the emulated Windows layer: where the registry hives live, the window
// class table, the active window, and the Windows-style formatting used by the string classes.
#pragma once

#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

#include "windows.h"

namespace khost {

// The registry hives are the files HKCU.reg and HKLM.reg in the home folder. Setting a home
// loads them (a missing file is an empty hive); an empty folder keeps the registry in memory
// only. Every change is written at once, the whole hive, through a temporary file and a rename.
void registrySetHome(const std::string& folder);
std::string registryHome();
// Reads the hives again from the home folder; without a home the registry becomes empty.
void registryReload();

// Window classes known to RegisterClassW / UnregisterClassW (names compare case-insensitively).
void registerWindowClass(std::wstring_view name);
bool isWindowClassRegistered(std::wstring_view name);
// True once UnregisterClassW removed the class (until it is registered again).
bool windowClassWasUnregistered(std::wstring_view name);

// The window that GetActiveWindow reports (the main window unless a dialog made itself active).
HWND mainWindow();
void setActiveWindow(HWND wnd);

// printf-style formatting with the Windows runtime's conventions (see wincrt.h). Nullopt for a
// format that the runtime would reject.
std::optional<std::wstring> formatWindows(const wchar_t* format, va_list args);
std::optional<std::string> formatWindows(const char* format, va_list args);

// A Windows-style path as the file system here takes it: UTF-8 with '/' separators.
std::string nativePath(std::wstring_view path);

} // namespace khost
