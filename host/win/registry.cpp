// The registry: two hives (the current user's and the machine's) kept in memory and, when a
// home folder is set, in the files HKCU.reg and HKLM.reg of that folder, in the text format of
// the registry editor (UTF-16LE with a byte order mark and CRLF line ends when written; UTF-16LE
// or UTF-8 when read).
//
// Data of the string types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) is held as the API sees it:
// wchar_t units, sizeof(wchar_t) bytes each. In the file, REG_SZ is a quoted text and the other
// two are hex(2)/hex(7) dumps of their UTF-16LE form, as the registry editor writes them.
//
// Handles remember the hive, the path and the access they were opened with; each call looks the
// key up again, so a key deleted under an open handle gives ERROR_KEY_DELETED. Every change is
// written at once, the whole hive, to a temporary file that is then renamed over the hive file;
// when that fails the change is undone in memory and the call returns ERROR_ACCESS_DENIED.
#include "windows.h"
#include "winhost.h"

#include "textconv.h"

#include <unicode/uchar.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#define ERROR_CHILD_MUST_BE_VOLATILE 1021L

namespace {

struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Node {
    std::wstring name;
    std::vector<Node> children; // ordered by folded name
    std::vector<Value> values;  // in the order they were first set
    bool isVolatile = false;
};

enum Hive { CurrentUser = 0, LocalMachine = 1, HiveCount = 2 };

const wchar_t* const kRootNames[HiveCount] = {L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE"};
const char* const kFileNames[HiveCount] = {"HKCU.reg", "HKLM.reg"};

struct OpenKey {
    Hive hive = CurrentUser;
    std::vector<std::wstring> path;
    REGSAM access = 0;
};

struct Registry {
    std::mutex mutex;
    std::string home;
    Node roots[HiveCount];
    std::map<HKEY, std::pair<std::unique_ptr<HKEY__>, OpenKey>> handles;

    Registry() { clear(); }
    void clear() {
        for (int h = 0; h < HiveCount; ++h) {
            roots[h] = Node();
            roots[h].name = kRootNames[h];
        }
    }
};

Registry& reg() {
    static Registry r;
    return r;
}

std::wstring fold(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(u_toupper(static_cast<UChar32>(c)));
    return out;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && fold(a) == fold(b);
}

// --- Tree access ---

Node* findChild(Node& n, std::wstring_view name) {
    std::wstring key = fold(name);
    auto it =
        std::lower_bound(n.children.begin(), n.children.end(), key,
                         [](const Node& c, const std::wstring& k) { return fold(c.name) < k; });
    if (it != n.children.end() && fold(it->name) == key)
        return &*it;
    return nullptr;
}

Node& addChild(Node& n, std::wstring_view name) {
    std::wstring key = fold(name);
    auto it =
        std::lower_bound(n.children.begin(), n.children.end(), key,
                         [](const Node& c, const std::wstring& k) { return fold(c.name) < k; });
    Node child;
    child.name = name;
    return *n.children.insert(it, std::move(child));
}

bool removeChild(Node& n, std::wstring_view name) {
    std::wstring key = fold(name);
    for (auto it = n.children.begin(); it != n.children.end(); ++it)
        if (fold(it->name) == key) {
            n.children.erase(it);
            return true;
        }
    return false;
}

Node* findPath(Node& root, const std::vector<std::wstring>& path) {
    Node* n = &root;
    for (const std::wstring& part : path) {
        n = findChild(*n, part);
        if (!n)
            return nullptr;
    }
    return n;
}

Value* findValue(Node& n, std::wstring_view name) {
    for (Value& v : n.values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

// Splits a subkey path; trailing separators are ignored, empty parts are an error.
bool splitPath(const wchar_t* subKey, std::vector<std::wstring>& out) {
    out.clear();
    if (!subKey)
        return true;
    std::wstring s(subKey);
    while (!s.empty() && s.back() == L'\\')
        s.pop_back();
    if (s.empty())
        return true;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(L'\\', start);
        std::wstring part = s.substr(start, end == std::wstring::npos ? end : end - start);
        if (part.empty())
            return false;
        out.push_back(part);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return true;
}

// --- Handles ---

LSTATUS resolveHandle(HKEY key, OpenKey& out) {
    Registry& r = reg();
    if (key == HKEY_CURRENT_USER) {
        out = OpenKey{CurrentUser, {}, KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    if (key == HKEY_LOCAL_MACHINE) {
        out = OpenKey{LocalMachine, {}, KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    if (key == HKEY_CLASSES_ROOT) {
        out = OpenKey{LocalMachine, {L"SOFTWARE", L"Classes"}, KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    auto it = r.handles.find(key);
    if (!key || it == r.handles.end())
        return ERROR_INVALID_HANDLE;
    out = it->second.second;
    return ERROR_SUCCESS;
}

// The node of an open key, or null when the key was deleted (HKCR's folder is made on demand).
Node* nodeOf(const OpenKey& k) {
    Node& root = reg().roots[k.hive];
    Node* n = findPath(root, k.path);
    return n;
}

bool isPredefined(HKEY key) {
    return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT;
}

// The status for a key that is not there: a predefined key's folder may simply not exist yet
// (HKEY_CLASSES_ROOT), an opened key was deleted.
LSTATUS gone(HKEY key) {
    return isPredefined(key) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
}

HKEY newHandle(const OpenKey& k) {
    auto obj = std::make_unique<HKEY__>();
    HKEY h = obj.get();
    reg().handles[h] = {std::move(obj), k};
    return h;
}

// --- The file format ---

std::wstring escapeQuoted(std::wstring_view s) {
    std::wstring out = L"\"";
    for (wchar_t c : s) {
        if (c == L'\\' || c == L'"')
            out += L'\\';
        out += c;
    }
    out += L'"';
    return out;
}

std::vector<BYTE> wideToUtf16Bytes(const std::vector<BYTE>& data) {
    std::wstring w(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(w.data(), data.data(), w.size() * sizeof(wchar_t));
    std::string b = khost::toUtf16le(w);
    return std::vector<BYTE>(b.begin(), b.end());
}

std::vector<BYTE> utf16BytesToWide(const std::vector<BYTE>& bytes) {
    std::wstring w = khost::fromUtf16le(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    std::vector<BYTE> out(w.size() * sizeof(wchar_t));
    std::memcpy(out.data(), w.data(), out.size());
    return out;
}

std::vector<BYTE> textToData(std::wstring_view text) {
    std::vector<BYTE> out((text.size() + 1) * sizeof(wchar_t), 0);
    std::memcpy(out.data(), text.data(), text.size() * sizeof(wchar_t));
    return out;
}

// A REG_SZ that can be written as a quoted text: one terminator at its end and no line breaks.
bool plainText(const std::vector<BYTE>& data, std::wstring& text) {
    if (data.empty() || data.size() % sizeof(wchar_t) != 0)
        return false;
    std::wstring w(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(w.data(), data.data(), data.size());
    if (w.back() != L'\0')
        return false;
    w.pop_back();
    if (w.find_first_of(std::wstring_view(L"\0\r\n", 3)) != std::wstring::npos)
        return false;
    text = w;
    return true;
}

void appendHex(std::wstring& out, std::wstring prefix, const std::vector<BYTE>& bytes) {
    std::wstring line = std::move(prefix);
    static const wchar_t digits[] = L"0123456789abcdef";
    for (size_t i = 0; i < bytes.size(); ++i) {
        wchar_t hex[3] = {digits[bytes[i] >> 4], digits[bytes[i] & 15], 0};
        line += hex;
        if (i + 1 < bytes.size()) {
            line += L',';
            if (line.size() > 76) {
                out += line + L"\\\r\n";
                line = L"  ";
            }
        }
    }
    out += line + L"\r\n";
}

void writeValue(std::wstring& out, const Value& v) {
    std::wstring prefix = v.name.empty() ? L"@=" : escapeQuoted(v.name) + L"=";
    std::wstring text;
    switch (v.type) {
    case REG_SZ:
        if (plainText(v.data, text)) {
            out += prefix + escapeQuoted(text) + L"\r\n";
            return;
        }
        appendHex(out, prefix + L"hex(1):", wideToUtf16Bytes(v.data));
        return;
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
        appendHex(out, prefix + L"hex(" + std::to_wstring(v.type) + L"):",
                  wideToUtf16Bytes(v.data));
        return;
    case REG_DWORD:
        if (v.data.size() == 4) {
            DWORD d = 0;
            std::memcpy(&d, v.data.data(), 4);
            wchar_t buf[16];
            std::swprintf(buf, 16, L"dword:%08x", static_cast<unsigned>(d));
            out += prefix + buf + L"\r\n";
            return;
        }
        break;
    case REG_BINARY:
        appendHex(out, prefix + L"hex:", v.data);
        return;
    default:
        break;
    }
    wchar_t type[16];
    std::swprintf(type, 16, L"hex(%x):", static_cast<unsigned>(v.type));
    appendHex(out, prefix + type, v.data);
}

void writeNode(std::wstring& out, const Node& n, const std::wstring& path) {
    if (n.isVolatile)
        return;
    out += L"[" + path + L"]\r\n";
    for (const Value& v : n.values)
        writeValue(out, v);
    out += L"\r\n";
    for (const Node& c : n.children)
        writeNode(out, c, path + L"\\" + c.name);
}

std::string serialize(const Node& root) {
    std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n";
    writeNode(text, root, root.name);
    return "\xFF\xFE" + khost::toUtf16le(text);
}

bool persist(Hive hive) {
    Registry& r = reg();
    if (r.home.empty())
        return true;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(r.home, ec);
    std::string target = (fs::path(r.home) / kFileNames[hive]).string();
    std::string temp = target + ".tmp";
    std::string bytes = serialize(r.roots[hive]);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0)
        ok = false;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

// Parsing.

bool parseQuoted(const std::wstring& line, size_t& pos, std::wstring& out) {
    if (pos >= line.size() || line[pos] != L'"')
        return false;
    ++pos;
    out.clear();
    while (pos < line.size()) {
        wchar_t c = line[pos++];
        if (c == L'"')
            return true;
        if (c == L'\\' && pos < line.size()) {
            wchar_t n = line[pos];
            if (n == L'\\' || n == L'"') {
                out += n;
                ++pos;
                continue;
            }
        }
        out += c;
    }
    return false;
}

bool parseHexBytes(std::wstring_view s, std::vector<BYTE>& out) {
    out.clear();
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < s.size() && (s[i] == L' ' || s[i] == L'\t'))
            ++i;
    };
    skipSpace();
    if (i == s.size())
        return true;
    for (;;) {
        skipSpace();
        unsigned v = 0;
        int digits = 0;
        while (i < s.size() && std::iswxdigit(static_cast<wint_t>(s[i])) && digits < 2) {
            wchar_t c = s[i++];
            v = v * 16 + static_cast<unsigned>(c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10);
            ++digits;
        }
        if (digits == 0)
            return false;
        out.push_back(static_cast<BYTE>(v));
        skipSpace();
        if (i == s.size())
            return true;
        if (s[i] != L',')
            return false;
        ++i;
    }
}

bool parseData(const std::wstring& s, Value& v) {
    size_t pos = 0;
    std::wstring text;
    if (!s.empty() && s[0] == L'"') {
        if (!parseQuoted(s, pos, text))
            return false;
        v.type = REG_SZ;
        v.data = textToData(text);
        return true;
    }
    if (s.compare(0, 6, L"dword:") == 0) {
        std::wstring digits = s.substr(6);
        while (!digits.empty() && (digits.back() == L' ' || digits.back() == L'\t'))
            digits.pop_back();
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos)
            return false;
        auto d = static_cast<DWORD>(std::wcstoul(digits.c_str(), nullptr, 16));
        v.type = REG_DWORD;
        v.data.resize(4);
        std::memcpy(v.data.data(), &d, 4);
        return true;
    }
    if (s.compare(0, 4, L"hex:") == 0) {
        v.type = REG_BINARY;
        return parseHexBytes(std::wstring_view(s).substr(4), v.data);
    }
    if (s.compare(0, 4, L"hex(") == 0) {
        size_t close = s.find(L"):");
        if (close == std::wstring::npos || close == 4)
            return false;
        std::wstring t = s.substr(4, close - 4);
        if (t.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos)
            return false;
        v.type = static_cast<DWORD>(std::wcstoul(t.c_str(), nullptr, 16));
        if (!parseHexBytes(std::wstring_view(s).substr(close + 2), v.data))
            return false;
        if (v.type == REG_SZ || v.type == REG_EXPAND_SZ || v.type == REG_MULTI_SZ)
            v.data = utf16BytesToWide(v.data);
        return true;
    }
    return false;
}

// Which hive and path a key line names.
bool parseKeyPath(const std::wstring& full, Hive& hive, std::vector<std::wstring>& path) {
    std::wstring s = full;
    size_t sep = s.find(L'\\');
    std::wstring root = fold(s.substr(0, sep));
    std::wstring rest = sep == std::wstring::npos ? L"" : s.substr(sep + 1);
    std::vector<std::wstring> prefix;
    if (root == L"HKEY_CURRENT_USER" || root == L"HKCU")
        hive = CurrentUser;
    else if (root == L"HKEY_LOCAL_MACHINE" || root == L"HKLM")
        hive = LocalMachine;
    else if (root == L"HKEY_CLASSES_ROOT" || root == L"HKCR") {
        hive = LocalMachine;
        prefix = {L"SOFTWARE", L"Classes"};
    } else
        return false;
    if (!splitPath(rest.c_str(), path))
        return false;
    path.insert(path.begin(), prefix.begin(), prefix.end());
    return true;
}

std::wstring decodeFile(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
        return khost::fromUtf16le(std::string_view(bytes).substr(2));
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return khost::fromUtf8(std::string_view(bytes).substr(3));
    // UTF-16LE without a byte order mark: every second byte of the header is zero.
    if (bytes.size() >= 4 && bytes[1] == '\0' && bytes[3] == '\0')
        return khost::fromUtf16le(bytes);
    return khost::fromUtf8(bytes);
}

void loadText(const std::wstring& text) {
    Registry& r = reg();
    std::vector<std::wstring> lines;
    {
        std::wstring cur;
        for (wchar_t c : text) {
            if (c == L'\n') {
                if (!cur.empty() && cur.back() == L'\r')
                    cur.pop_back();
                lines.push_back(cur);
                cur.clear();
            } else {
                cur += c;
            }
        }
        if (!cur.empty())
            lines.push_back(cur);
    }
    Node* current = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::wstring line = lines[i];
        size_t b = line.find_first_not_of(L" \t");
        if (b == std::wstring::npos || line[b] == L';')
            continue;
        line.erase(0, b);
        if (line[0] == L'[') {
            size_t e = line.rfind(L']');
            if (e == std::wstring::npos) {
                current = nullptr;
                continue;
            }
            std::wstring name = line.substr(1, e - 1);
            bool remove = !name.empty() && name[0] == L'-';
            if (remove)
                name.erase(0, 1);
            Hive hive;
            std::vector<std::wstring> path;
            current = nullptr;
            if (!parseKeyPath(name, hive, path))
                continue;
            if (remove) {
                if (!path.empty()) {
                    std::wstring last = path.back();
                    path.pop_back();
                    if (Node* parent = findPath(r.roots[hive], path))
                        removeChild(*parent, last);
                }
                continue;
            }
            Node* n = &r.roots[hive];
            for (const std::wstring& part : path) {
                Node* c = findChild(*n, part);
                n = c ? c : &addChild(*n, part);
            }
            current = n;
            continue;
        }
        if (!current)
            continue;
        // Hex data may continue on the following lines after a trailing backslash.
        while (!line.empty() && line.back() == L'\\' && i + 1 < lines.size()) {
            line.pop_back();
            std::wstring next = lines[++i];
            size_t nb = next.find_first_not_of(L" \t");
            line += nb == std::wstring::npos ? L"" : next.substr(nb);
        }
        Value v;
        size_t pos = 0;
        if (line[0] == L'@') {
            pos = 1;
        } else if (!parseQuoted(line, pos, v.name)) {
            continue;
        }
        while (pos < line.size() && line[pos] == L' ')
            ++pos;
        if (pos >= line.size() || line[pos] != L'=')
            continue;
        ++pos;
        while (pos < line.size() && line[pos] == L' ')
            ++pos;
        std::wstring data = line.substr(pos);
        if (data == L"-") {
            auto& vals = current->values;
            vals.erase(std::remove_if(vals.begin(), vals.end(),
                                      [&](const Value& x) { return sameName(x.name, v.name); }),
                       vals.end());
            continue;
        }
        if (!parseData(data, v))
            continue;
        if (Value* old = findValue(*current, v.name))
            *old = std::move(v);
        else
            current->values.push_back(std::move(v));
    }
}

void loadAll() {
    Registry& r = reg();
    r.clear();
    if (r.home.empty())
        return;
    for (int h = 0; h < HiveCount; ++h) {
        std::ifstream in(std::filesystem::path(r.home) / kFileNames[h], std::ios::binary);
        if (!in)
            continue;
        std::ostringstream ss;
        ss << in.rdbuf();
        loadText(decodeFile(ss.str()));
    }
}

// Runs a change of one hive and writes the hive; a failed write undoes the change.
template <typename F> LSTATUS change(Hive hive, F&& apply) {
    Registry& r = reg();
    Node backup = r.roots[hive];
    bool changed = false;
    LSTATUS status = apply(changed);
    if (status == ERROR_SUCCESS && changed && !persist(hive)) {
        r.roots[hive] = std::move(backup);
        return ERROR_ACCESS_DENIED;
    }
    return status;
}

bool isStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

namespace khost {

void registrySetHome(const std::string& folder) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    reg().home = folder;
    loadAll();
}

std::string registryHome() {
    std::lock_guard<std::mutex> lock(reg().mutex);
    return reg().home;
}

void registryReload() {
    std::lock_guard<std::mutex> lock(reg().mutex);
    loadAll();
}

} // namespace khost

LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    if (LSTATUS s = resolveHandle(hKey, base))
        return s;
    std::vector<std::wstring> parts;
    if (!splitPath(lpSubKey, parts))
        return ERROR_BAD_PATHNAME;
    if (!nodeOf(base))
        return gone(hKey);
    OpenKey k{base.hive, base.path, samDesired};
    k.path.insert(k.path.end(), parts.begin(), parts.end());
    Node* n = nodeOf(k);
    if (!n)
        return ERROR_FILE_NOT_FOUND;
    // Keep the names as stored, so that the handle names the key as the registry spells it.
    Node* walk = &reg().roots[k.hive];
    for (std::wstring& part : k.path) {
        walk = findChild(*walk, part);
        part = walk->name;
    }
    *phkResult = newHandle(k);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD dwOptions,
                        REGSAM samDesired, const LPSECURITY_ATTRIBUTES, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    if (LSTATUS s = resolveHandle(hKey, base))
        return s;
    std::vector<std::wstring> parts;
    if (!splitPath(lpSubKey, parts))
        return ERROR_BAD_PATHNAME;
    if (!isPredefined(hKey) && !nodeOf(base))
        return ERROR_KEY_DELETED;
    bool isVolatile = (dwOptions & REG_OPTION_VOLATILE) != 0;
    OpenKey k{base.hive, base.path, samDesired};
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    LSTATUS status = change(base.hive, [&](bool& changed) -> LSTATUS {
        Node* n = &reg().roots[k.hive];
        std::vector<std::wstring> all = base.path;
        all.insert(all.end(), parts.begin(), parts.end());
        k.path.clear();
        for (size_t i = 0; i < all.size(); ++i) {
            Node* c = findChild(*n, all[i]);
            if (!c) {
                bool ownPart = i >= base.path.size();
                if (ownPart && !(base.access & KEY_CREATE_SUB_KEY))
                    return ERROR_ACCESS_DENIED;
                if (n->isVolatile && !isVolatile)
                    return ERROR_CHILD_MUST_BE_VOLATILE;
                c = &addChild(*n, all[i]);
                c->isVolatile = isVolatile;
                disposition = REG_CREATED_NEW_KEY;
                if (!isVolatile)
                    changed = true;
            }
            k.path.push_back(c->name);
            n = c;
        }
        return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS)
        return status;
    *phkResult = newHandle(k);
    if (lpdwDisposition)
        *lpdwDisposition = disposition;
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    if (isPredefined(hKey))
        return ERROR_SUCCESS;
    auto it = reg().handles.find(hKey);
    if (!hKey || it == reg().handles.end())
        return ERROR_INVALID_HANDLE;
    reg().handles.erase(it);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                         LPBYTE lpData, LPDWORD lpcbData) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    if (lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    if (!(k.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    Node* n = nodeOf(k);
    if (!n)
        return gone(hKey);
    Value* v = findValue(*n, lpValueName ? lpValueName : L"");
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    if (lpType)
        *lpType = v->type;
    auto size = static_cast<DWORD>(v->data.size());
    if (!lpcbData)
        return ERROR_SUCCESS;
    if (lpData && *lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (lpData && size)
        std::memcpy(lpData, v->data.data(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                       DWORD cbData) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    if (!lpData && cbData)
        return ERROR_NOACCESS;
    if (!(k.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!nodeOf(k))
        return gone(hKey);
    return change(k.hive, [&](bool& changed) -> LSTATUS {
        Node* n = nodeOf(k);
        std::wstring name = lpValueName ? lpValueName : L"";
        Value* v = findValue(*n, name);
        if (!v) {
            n->values.push_back(Value{name, REG_NONE, {}});
            v = &n->values.back();
        }
        v->type = dwType;
        v->data.assign(lpData, lpData + cbData);
        // String data whose size is not whole characters keeps its last whole character.
        if (isStringType(dwType))
            v->data.resize(v->data.size() / sizeof(wchar_t) * sizeof(wchar_t));
        changed = !n->isVolatile;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    if (!(k.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!nodeOf(k))
        return gone(hKey);
    return change(k.hive, [&](bool& changed) -> LSTATUS {
        Node* n = nodeOf(k);
        std::wstring name = lpValueName ? lpValueName : L"";
        for (auto it = n->values.begin(); it != n->values.end(); ++it)
            if (sameName(it->name, name)) {
                n->values.erase(it);
                changed = !n->isVolatile;
                return ERROR_SUCCESS;
            }
        return ERROR_FILE_NOT_FOUND;
    });
}

namespace {

LSTATUS deleteKey(HKEY hKey, LPCWSTR lpSubKey, bool tree) {
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    std::vector<std::wstring> parts;
    if (lpSubKey && !splitPath(lpSubKey, parts))
        return ERROR_BAD_PATHNAME;
    if (!nodeOf(k))
        return gone(hKey);
    std::vector<std::wstring> path = k.path;
    path.insert(path.end(), parts.begin(), parts.end());
    Node* target = findPath(reg().roots[k.hive], path);
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    return change(k.hive, [&](bool& changed) -> LSTATUS {
        if (tree && !lpSubKey) {
            // The tree form without a subkey empties the key and keeps it.
            Node* n = findPath(reg().roots[k.hive], path);
            n->children.clear();
            n->values.clear();
            changed = true;
            return ERROR_SUCCESS;
        }
        if (path.empty())
            return ERROR_ACCESS_DENIED; // a hive's root cannot be deleted
        Node* n = findPath(reg().roots[k.hive], path);
        if (!tree && !n->children.empty())
            return ERROR_ACCESS_DENIED;
        std::wstring last = path.back();
        std::vector<std::wstring> parentPath(path.begin(), path.end() - 1);
        Node* parent = findPath(reg().roots[k.hive], parentPath);
        changed = !n->isVolatile;
        removeChild(*parent, last);
        return ERROR_SUCCESS;
    });
}

} // namespace

LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    return deleteKey(hKey, lpSubKey, false);
}

LSTATUS RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    return deleteKey(hKey, lpSubKey, true);
}

LSTATUS RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                      LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    if (!(k.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    Node* n = nodeOf(k);
    if (!n)
        return gone(hKey);
    if (dwIndex >= n->values.size())
        return ERROR_NO_MORE_ITEMS;
    const Value& v = n->values[dwIndex];
    if (*lpcchValueName < v.name.size() + 1)
        return ERROR_MORE_DATA;
    std::wmemcpy(lpValueName, v.name.c_str(), v.name.size() + 1);
    *lpcchValueName = static_cast<DWORD>(v.name.size());
    if (lpType)
        *lpType = v.type;
    if (lpcbData) {
        auto size = static_cast<DWORD>(v.data.size());
        if (lpData && *lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (lpData && size)
            std::memcpy(lpData, v.data.data(), size);
        *lpcbData = size;
    }
    return ERROR_SUCCESS;
}

LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                      LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                      PFILETIME lpftLastWriteTime) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    if (!lpName || !lpcchName || lpReserved)
        return ERROR_INVALID_PARAMETER;
    if (!(k.access & KEY_ENUMERATE_SUB_KEYS))
        return ERROR_ACCESS_DENIED;
    Node* n = nodeOf(k);
    if (!n)
        return isPredefined(hKey) ? ERROR_NO_MORE_ITEMS : ERROR_KEY_DELETED;
    if (dwIndex >= n->children.size())
        return ERROR_NO_MORE_ITEMS;
    const std::wstring& name = n->children[dwIndex].name;
    if (*lpcchName < name.size() + 1)
        return ERROR_MORE_DATA;
    std::wmemcpy(lpName, name.c_str(), name.size() + 1);
    *lpcchName = static_cast<DWORD>(name.size());
    if (lpClass && lpcchClass && *lpcchClass > 0) {
        lpClass[0] = 0;
        *lpcchClass = 0;
    }
    if (lpftLastWriteTime)
        *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LSTATUS RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                         LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                         LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                         LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
    std::lock_guard<std::mutex> lock(reg().mutex);
    OpenKey k;
    if (LSTATUS s = resolveHandle(hKey, k))
        return s;
    if (lpReserved)
        return ERROR_INVALID_PARAMETER;
    if (!(k.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    Node empty;
    Node* n = nodeOf(k);
    if (!n) {
        if (!isPredefined(hKey))
            return ERROR_KEY_DELETED;
        n = &empty;
    }
    size_t maxKey = 0, maxName = 0, maxData = 0;
    for (const Node& c : n->children)
        maxKey = std::max(maxKey, c.name.size());
    for (const Value& v : n->values) {
        maxName = std::max(maxName, v.name.size());
        maxData = std::max(maxData, v.data.size());
    }
    if (lpClass && lpcchClass && *lpcchClass > 0)
        lpClass[0] = 0;
    if (lpcchClass)
        *lpcchClass = 0;
    if (lpcSubKeys)
        *lpcSubKeys = static_cast<DWORD>(n->children.size());
    if (lpcbMaxSubKeyLen)
        *lpcbMaxSubKeyLen = static_cast<DWORD>(maxKey);
    if (lpcbMaxClassLen)
        *lpcbMaxClassLen = 0;
    if (lpcValues)
        *lpcValues = static_cast<DWORD>(n->values.size());
    if (lpcbMaxValueNameLen)
        *lpcbMaxValueNameLen = static_cast<DWORD>(maxName);
    if (lpcbMaxValueLen)
        *lpcbMaxValueLen = static_cast<DWORD>(maxData);
    if (lpcbSecurityDescriptor)
        *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime)
        *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}
