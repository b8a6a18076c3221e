// ShellExecuteW: prints the operation and the file; opens it only when asked to by the
// environment.
#include "shellapi.h"

#include "hostio.h"
#include "textconv.h"

#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

HINSTANCE result(std::intptr_t n) {
    return reinterpret_cast<HINSTANCE>(n);
}

// Hands the file to the desktop's opener without a shell in between; false when it cannot run.
bool openWithDesktop(const std::wstring& file) {
    const std::string path = khost::toUtf8(file);
    char program[] = "xdg-open";
    std::string arg = path;
    char* argv[] = {program, arg.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

HINSTANCE ShellExecuteW(HWND, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR,
                        INT) {
    if (!lpFile || !*lpFile)
        return result(SE_ERR_FNF);
    std::wstring operation = lpOperation && *lpOperation ? lpOperation : L"open";
    std::wstring line = L"\nShellExecute: " + operation + L" " + lpFile;
    if (lpParameters && *lpParameters)
        line += std::wstring(L" ") + lpParameters;
    line += L"\n";
    khost::hostPrint(line);
    const char* sopenWithDesktopt = std::getenv("KRESBON_OPEN_URLS");
    if (sopenWithDesktopt && *sopenWithDesktopt && operation == L"open" && !openWithDesktop(lpFile))
        return result(SE_ERR_NOASSOC);
    return result(42);
}
