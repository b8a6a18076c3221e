// Generic-text mappings for a UNICODE build: the _t names map to the wide functions.
#pragma once

#include "windows.h"

#define _tcslen wcslen
#define _tcscmp wcscmp
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcsncmp wcsncmp
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tcscpy_s wcscpy_s
#define _tcsncpy_s wcsncpy_s
#define _tcscat_s wcscat_s
#define _tcsupr_s _wcsupr_s
#define _tcslwr_s _wcslwr_s
#define _tcsupr_s_l _wcsupr_s_l
#define _tcslwr_s_l _wcslwr_s_l
#define _stprintf_s swprintf_s
#define _sntprintf_s _snwprintf_s
#define _vstprintf_s vswprintf_s
#define _ttoi _wtoi
#define _ttol _wtol
#define _tstof _wtof
#define _tstoi _wtoi
#define _tmkdir _wmkdir
#define _taccess _waccess
#define _tfopen _wfopen
#define _tremove _wremove
