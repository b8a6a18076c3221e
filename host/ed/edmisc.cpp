// Messages and file dialogs of the editor.
#include "acedads.h"
#include "acutads.h"
#include "edinternal.h"
#include "hostio.h"

#include <cwctype>

int acedAlert(const ACHAR* string) {
    khost::printHostMessage(string ? string : L"");
    khost::hostPrint(L"\n");
    return RTNORM;
}

int acedPrompt(const ACHAR* str) {
    khost::hostPrint(str ? str : L"");
    return RTNORM;
}

int acedGraphScr() {
    return RTNORM;
}
int acedTextScr() {
    return RTNORM;
}
int acedRedraw(const ads_name, int) {
    return RTNORM;
}
int acedUsrBrk() {
    return 0;
}

namespace {

bool hasExtension(const std::wstring& path) {
    size_t slash = path.find_last_of(L"/\\");
    size_t dot = path.find_last_of(L'.');
    return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
}

// Asks for a path on the command line: RTNORM with the path, or RTCAN.
int askPath(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext, int flags,
            std::wstring& path) {
    std::wstring prompt = L"\n";
    prompt += title && *title ? title : L"Enter file name";
    std::wstring def = defawlt ? defawlt : L"";
    if (!def.empty())
        prompt += L" <" + def + L">";
    prompt += L": ";
    khost::Answer a = khost::promptAnswer(prompt, true);
    if (a.kind != khost::Answer::Text)
        return RTCAN;
    path = a.text;
    while (!path.empty() && std::iswspace(path.back()))
        path.pop_back();
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    if (path.empty())
        path = def;
    if (path.empty())
        return RTCAN;
    // The first of the extensions offered is added to a name without one, unless the name
    // denotes a folder (flag 16) or any extension is allowed and the name has one.
    std::wstring firstExt = ext ? ext : L"";
    size_t sep = firstExt.find_first_of(L";,");
    if (sep != std::wstring::npos)
        firstExt.erase(sep);
    if (!firstExt.empty() && firstExt != L"*" && !(flags & 16) && !hasExtension(path))
        path += L"." + firstExt;
    return RTNORM;
}

} // namespace

int acedGetFileD(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext, int flags,
                 resbuf* result) {
    if (!result)
        return RTERROR;
    std::wstring path;
    int rc = askPath(title, defawlt, ext, flags, path);
    if (rc != RTNORM)
        return rc;
    result->restype = RTSTR;
    result->resval.rstring = nullptr;
    acutNewString(path.c_str(), result->resval.rstring);
    return RTNORM;
}

int acedGetFileNavDialog(const ACHAR* title, const ACHAR* defawlt, const ACHAR* ext, const ACHAR*,
                         int flags, resbuf** result) {
    if (!result)
        return RTERROR;
    *result = nullptr;
    std::wstring path;
    int rc = askPath(title, defawlt, ext, flags, path);
    if (rc != RTNORM)
        return rc;
    *result = acutBuildList(RTSTR, path.c_str(), 0);
    return RTNORM;
}
