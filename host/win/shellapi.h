// The shell's ShellExecute, as the host provides it.
//
// There is no shell here that could open a document or a web address: ShellExecuteW prints what
// it would open on the transcript ("ShellExecute: <operation> <file>") and succeeds. Only when the
// environment variable KRESBON_OPEN_URLS is set is the file or address also handed to the
// desktop's opener (xdg-open). The result follows the Windows API: a value above 32 on success,
// otherwise one of the SE_ERR_* codes.
#pragma once

#include "windows.h"

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                        LPCWSTR lpDirectory, INT nShowCmd);
#define ShellExecute ShellExecuteW
