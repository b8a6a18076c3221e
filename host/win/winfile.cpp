// File functions of the Windows API: moving and deleting files.
#include "windows.h"
#include "winhost.h"

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>

namespace {

DWORD lastErrorOf(int err) {
    switch (err) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    default:
        return ERROR_INVALID_FUNCTION;
    }
}

} // namespace

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    if (!lpExistingFileName || !lpNewFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string from = khost::nativePath(lpExistingFileName);
    const std::string to = khost::nativePath(lpNewFileName);
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0) {
        SetLastError(lastErrorOf(errno));
        return FALSE;
    }
    if (::stat(to.c_str(), &st) == 0) {
        if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return FALSE;
        }
        if (S_ISDIR(st.st_mode)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        SetLastError(lastErrorOf(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
    if (!lpFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = khost::nativePath(lpFileName);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (std::remove(path.c_str()) != 0) {
        SetLastError(lastErrorOf(errno));
        return FALSE;
    }
    return TRUE;
}
