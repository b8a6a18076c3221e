#include "shell.h"

#include "appload.h"
#include "installer.h"

#include "acdocman.h"
#include "acutads.h"
#include "arxdb.h"
#include "arxed.h"
#include "dbhost.h"
#include "dxfio.h"
#include "edhost.h"
#include "hostio.h"
#include "textconv.h"
#include "windows.h"
#include "winhost.h"

#include <readline/history.h>
#include <readline/readline.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <unistd.h>

#ifndef KRESBON_APP_PATH
#define KRESBON_APP_PATH ""
#endif
#ifndef KRESBON_DATA_DIR
#define KRESBON_DATA_DIR "data"
#endif

namespace khost {
namespace {

const char* kUsage =
    "usage: kresbon [DRAWING] [-s SCRIPT] [-o OUT] [--home DIR] [--app MODULE | --no-app]\n"
    "               [--data DIR] [--strict]\n";

std::string defaultHome() {
    if (const char* env = std::getenv("KRESBON_HOME"); env && *env)
        return env;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/kresbon";
    return ".kresbon";
}

// A script file read line by line.
class ScriptSource {
public:
    explicit ScriptSource(std::istream& in) : m_in(in) {}
    std::optional<std::string> operator()(const std::wstring&) {
        std::string line;
        if (!std::getline(m_in, line))
            return std::nullopt;
        if (m_first) {
            m_first = false;
            if (line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
                line.erase(0, 3);
        }
        return line;
    }

private:
    std::istream& m_in;
    bool m_first = true;
};

std::optional<std::string> readlineSource(const std::wstring& prompt) {
    // The prompt is already on the screen (the transcript printed it); readline only needs to
    // know it for redisplay.
    std::string p = toUtf8(prompt);
    rl_already_prompted = 1;
    char* line = readline(p.c_str());
    if (!line)
        return std::nullopt;
    std::string s(line);
    if (!s.empty())
        add_history(line);
    std::free(line);
    return s;
}

} // namespace

bool parseArguments(int argc, char** argv, ShellOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) {
                error = "missing value after " + a;
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (a == "-s" || a == "--script") {
            if (!value(o.script))
                return false;
        } else if (a == "-o" || a == "--out") {
            if (!value(o.out))
                return false;
        } else if (a == "--home") {
            if (!value(o.home))
                return false;
        } else if (a == "--app") {
            if (!value(o.app))
                return false;
        } else if (a == "--data") {
            if (!value(o.data))
                return false;
        } else if (a == "--no-app") {
            o.noApp = true;
        } else if (a == "--strict") {
            o.strict = true;
        } else if (a == "-h" || a == "--help") {
            error.clear();
            return false;
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else if (o.drawing.empty()) {
            o.drawing = a;
        } else {
            error = "more than one drawing given";
            return false;
        }
    }
    return true;
}

int runShell(const ShellOptions& options) {
    ShellOptions o = options;
    if (o.home.empty())
        o.home = defaultHome();
    if (o.data.empty()) {
        const char* env = std::getenv("KRESBON_DATA");
        o.data = (env && *env) ? env : KRESBON_DATA_DIR;
    }
    if (o.app.empty()) {
        const char* env = std::getenv("KRESBON_APP");
        o.app = (env && *env) ? env : KRESBON_APP_PATH;
    }
    std::error_code ec;
    std::filesystem::create_directories(o.home, ec);
    if (ec) {
        std::fprintf(stderr, "kresbon: cannot create the home folder %s: %s\n", o.home.c_str(),
                     ec.message().c_str());
        return 2;
    }
    registrySetHome(o.home);
    installIfNeeded(o.data, o.home);
    setStrictOpenCheck(o.strict);

    // The drawing: read, or a new one from the built-in default.
    AcDbDatabase* db = nullptr;
    std::wstring drawingPath;
    if (!o.drawing.empty()) {
        drawingPath = fromUtf8(o.drawing);
        std::wstring err;
        db = readDrawing(drawingPath, err);
        if (!db) {
            std::fprintf(stderr, "kresbon: %s\n", toUtf8(err).c_str());
            return 2;
        }
    } else {
        db = new AcDbDatabase(true, false);
    }
    openDocument(db, drawingPath);
    registerHostCommands();

    std::ifstream scriptFile;
    std::unique_ptr<ScriptSource> script;
    if (!o.script.empty()) {
        scriptFile.open(o.script, std::ios::binary);
        if (!scriptFile) {
            std::fprintf(stderr, "kresbon: cannot open the script %s\n", o.script.c_str());
            closeAllDocuments();
            return 2;
        }
        script = std::make_unique<ScriptSource>(scriptFile);
        hostInput().setLineSource([&](const std::wstring& p) { return (*script)(p); }, false);
        hostInput().setEcho(true);
        resbuf rb{};
        rb.restype = RTSHORT;
        rb.resval.rint = 0;
        acedSetVar(L"FILEDIA", &rb);
    } else if (isatty(STDIN_FILENO)) {
        hostInput().setLineSource(readlineSource, true);
        hostInput().setEcho(false);
    } else {
        hostInput().setLineSource(
            [](const std::wstring&) -> std::optional<std::string> {
                std::string line;
                if (!std::getline(std::cin, line))
                    return std::nullopt;
                return line;
            },
            false);
        hostInput().setEcho(true);
    }

    if (!o.noApp && !o.app.empty())
        loadApplicationModule(o.app);

    runCommandLoop();
    hostPrint(L"\n");

    int status = 0;
    if (!o.out.empty()) {
        AcApDocument* doc = curDoc();
        std::wstring err;
        if (!doc || !writeDrawing(doc->database(), fromUtf8(o.out), err)) {
            std::fprintf(stderr, "kresbon: cannot save %s: %s\n", o.out.c_str(),
                         toUtf8(err).c_str());
            status = 1;
        }
    }
    // Drawings are closed first (each application hears of it), then the applications unload.
    closeAllDocuments();
    unloadAllApplications();
    hostInput().clearLineSource();
    if (o.strict && openCheckFailures() > 0)
        status = status ? status : 3;
    return status;
}

int shellMain(int argc, char** argv) {
    ShellOptions o;
    std::string error;
    if (!parseArguments(argc, argv, o, error)) {
        if (!error.empty())
            std::fprintf(stderr, "kresbon: %s\n", error.c_str());
        std::fputs(kUsage, error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    return runShell(o);
}

} // namespace khost
