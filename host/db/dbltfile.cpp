// Linetypes from linetype files (see dbltfile.h).
#include "dbltfile.h"

#include "dbapserv.h"
#include "dbimpl.h"
#include "dbshx.h"
#include "textconv.h"

#include <cmath>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

using namespace khost;

namespace {

constexpr int kSystemCodePage = 1250;
constexpr double kPi = 3.14159265358979323846;

struct Element {
    double length = 0.0;
    bool complex = false;
    bool isText = false;
    std::wstring text;  // the text of a text element
    std::wstring style; // a text element's style or a shape element's file
    std::wstring shape; // a shape element's name
    double scale = 1.0, rotation = 0.0, x = 0.0, y = 0.0;
    bool absolute = false;
};

struct Definition {
    std::wstring name, description;
    std::wstring pattern;
};

std::wstring trim(const std::wstring& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::iswspace(s[a]))
        ++a;
    while (b > a && std::iswspace(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

bool readFile(const std::wstring& path, std::wstring& text) {
    std::ifstream in(toUtf8(path), std::ios::binary);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    std::string bytes = ss.str();
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = fromUtf8(std::string_view(bytes).substr(3));
        return true;
    }
    return fromCodePage(bytes, kSystemCodePage, text);
}

// The definitions of the file in its order.
std::vector<Definition> parseFile(const std::wstring& text) {
    std::vector<Definition> defs;
    std::wistringstream in(text);
    std::wstring line;
    bool wantPattern = false;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'*') {
            Definition d;
            const size_t comma = line.find(L',');
            d.name =
                trim(line.substr(1, comma == std::wstring::npos ? std::wstring::npos : comma - 1));
            if (comma != std::wstring::npos)
                d.description = trim(line.substr(comma + 1));
            defs.push_back(std::move(d));
            wantPattern = true;
        } else if (wantPattern) {
            defs.back().pattern = line;
            wantPattern = false;
        }
    }
    return defs;
}

// Splits at the commas outside brackets and quotes.
std::vector<std::wstring> splitTop(const std::wstring& s) {
    std::vector<std::wstring> parts;
    std::wstring cur;
    int depth = 0;
    bool quoted = false;
    for (wchar_t c : s) {
        if (c == L'"')
            quoted = !quoted;
        else if (!quoted && c == L'[')
            ++depth;
        else if (!quoted && c == L']')
            --depth;
        if (c == L',' && depth == 0 && !quoted) {
            parts.push_back(trim(cur));
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    parts.push_back(trim(cur));
    return parts;
}

std::optional<double> number(const std::wstring& s) {
    if (s.empty())
        return std::nullopt;
    try {
        size_t used = 0;
        double v = std::stod(s, &used);
        if (used != s.size())
            return std::nullopt;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<double> angle(std::wstring s) {
    double factor = kPi / 180.0;
    if (!s.empty()) {
        wchar_t unit = std::towlower(s.back());
        if (unit == L'r' || unit == L'g' || unit == L'd') {
            factor = unit == L'r' ? 1.0 : unit == L'g' ? kPi / 200.0 : kPi / 180.0;
            s.pop_back();
        }
    }
    std::optional<double> v = number(s);
    if (!v)
        return std::nullopt;
    return *v * factor;
}

// One bracketed element: its parts after the brackets are removed.
bool parseComplex(const std::wstring& body, Element& e) {
    std::vector<std::wstring> parts = splitTop(body);
    if (parts.size() < 2)
        return false;
    e.complex = true;
    const std::wstring& first = parts[0];
    if (first.size() >= 2 && first.front() == L'"' && first.back() == L'"') {
        e.isText = true;
        e.text = first.substr(1, first.size() - 2);
    } else {
        e.shape = first;
    }
    e.style = parts[1];
    for (size_t i = 2; i < parts.size(); ++i) {
        const std::wstring& p = parts[i];
        const size_t eq = p.find(L'=');
        if (eq == std::wstring::npos)
            return false;
        const wchar_t key = std::towupper(trim(p.substr(0, eq)).c_str()[0]);
        const std::wstring value = trim(p.substr(eq + 1));
        std::optional<double> v =
            (key == L'R' || key == L'A' || key == L'U') ? angle(value) : number(value);
        if (!v)
            return false;
        switch (key) {
        case L'S':
            e.scale = *v;
            break;
        case L'R':
        case L'U':
            e.rotation = *v;
            e.absolute = false;
            break;
        case L'A':
            e.rotation = *v;
            e.absolute = true;
            break;
        case L'X':
            e.x = *v;
            break;
        case L'Y':
            e.y = *v;
            break;
        default:
            return false;
        }
    }
    return true;
}

// The pattern as dashes; a bracketed element belongs to the dash before it.
bool parsePattern(const std::wstring& pattern, std::vector<Element>& dashes) {
    std::vector<std::wstring> parts = splitTop(pattern);
    size_t i = 0;
    if (!parts.empty() && (parts[0] == L"A" || parts[0] == L"a"))
        ++i;
    for (; i < parts.size(); ++i) {
        const std::wstring& p = parts[i];
        if (!p.empty() && p.front() == L'[') {
            if (dashes.empty() || dashes.back().complex || p.back() != L']')
                return false;
            if (!parseComplex(p.substr(1, p.size() - 2), dashes.back()))
                return false;
            continue;
        }
        std::optional<double> v = number(p);
        if (!v)
            return false;
        Element e;
        e.length = *v;
        dashes.push_back(e);
    }
    return !dashes.empty();
}

bool sameFileName(const std::wstring& a, const std::wstring& b) {
    namespace fs = std::filesystem;
    std::wstring x = fs::path(a).filename().wstring(), y = fs::path(b).filename().wstring();
    return nameKey(x.c_str()) == nameKey(y.c_str());
}

// The text style record that a shape element's file needs: a shape-file style naming it.
AcDbTextStyleTableRecord* shapeStyle(AcDbDatabase* db, const std::wstring& file) {
    auto* table = AcDbSymbolTable::cast(peekObject(db->textStyleTableId()));
    if (!table)
        return nullptr;
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) != Acad::eOk)
        return nullptr;
    AcDbTextStyleTableRecord* found = nullptr;
    for (; !it->done() && !found; it->step()) {
        AcDbObjectId id;
        it->getRecordId(id);
        auto* style = AcDbTextStyleTableRecord::cast(peekObject(id));
        const ACHAR* name = nullptr;
        if (style && style->isShapeFile() && style->fileName(name) == Acad::eOk && name &&
            sameFileName(name, file))
            found = style;
    }
    delete it;
    return found;
}

// The shape's number in the style's file (found where the style says, else beside the
// linetype file).
Acad::ErrorStatus shapeNumberOf(const AcDbTextStyleTableRecord* style, const std::wstring& linFile,
                                const std::wstring& shape, int& number) {
    namespace fs = std::filesystem;
    const ACHAR* styleFile = nullptr;
    style->fileName(styleFile);
    std::vector<std::wstring> candidates{styleFile ? styleFile : L""};
    const fs::path folder = fs::path(linFile).parent_path();
    const std::wstring file = fs::path(candidates[0]).filename().wstring();
    candidates.push_back((folder / file).wstring());
    // File names do not depend on case on the system the files come from.
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (sameFileName(entry.path().filename().wstring(), file))
            candidates.push_back(entry.path().wstring());
    std::string error;
    std::vector<ShapeEntry> shapes;
    bool read = false;
    for (const std::wstring& c : candidates)
        if (!c.empty() && readShapeFile(c, shapes, error)) {
            read = true;
            break;
        }
    if (!read)
        return Acad::eFileNotFound;
    std::string name;
    toCodePage(shape, kSystemCodePage, name);
    number = shapeNumber(shapes, name);
    return number ? Acad::eOk : Acad::eKeyNotFound;
}

Acad::ErrorStatus makeRecord(AcDbDatabase* db, const Definition& def, const std::wstring& linFile,
                             AcDbLinetypeTableRecord*& out) {
    out = nullptr;
    std::vector<Element> dashes;
    if (!isValidSymbolName(def.name.c_str(), false) || !parsePattern(def.pattern, dashes))
        return Acad::eInvalidInput;
    // Resolve the styles first: nothing is made for a definition that cannot be loaded.
    std::vector<AcDbObjectId> styles(dashes.size());
    std::vector<int> numbers(dashes.size(), 0);
    for (size_t i = 0; i < dashes.size(); ++i) {
        const Element& e = dashes[i];
        if (!e.complex)
            continue;
        if (e.isText) {
            styles[i] = findRecord(db, DbRole::TextStyleTable, e.style.c_str());
            if (styles[i].isNull())
                return Acad::eInvalidTextStyle;
        } else {
            AcDbTextStyleTableRecord* style = shapeStyle(db, e.style);
            if (!style)
                return Acad::eInvalidTextStyle;
            styles[i] = style->objectId();
            Acad::ErrorStatus es = shapeNumberOf(style, linFile, e.shape, numbers[i]);
            if (es != Acad::eOk)
                return es;
        }
    }
    auto* rec = new AcDbLinetypeTableRecord;
    rec->setName(def.name.c_str());
    rec->setComments(def.description.c_str());
    rec->setNumDashes(static_cast<int>(dashes.size()));
    double length = 0.0;
    for (size_t i = 0; i < dashes.size(); ++i) {
        const Element& e = dashes[i];
        const int k = static_cast<int>(i);
        length += std::fabs(e.length);
        rec->setDashLengthAt(k, e.length);
        if (!e.complex)
            continue;
        rec->setShapeStyleAt(k, styles[i]);
        rec->setShapeNumberAt(k, numbers[i]);
        rec->setShapeScaleAt(k, e.scale);
        rec->setShapeRotationAt(k, e.rotation);
        rec->setShapeIsUcsOrientedAt(k, e.absolute);
        rec->setShapeOffsetAt(k, AcGeVector2d(e.x, e.y));
        if (e.isText)
            rec->setTextAt(k, e.text.c_str());
    }
    rec->setPatternLength(length);
    out = rec;
    return Acad::eOk;
}

Acad::ErrorStatus addRecord(AcDbDatabase* db, AcDbLinetypeTableRecord* rec) {
    AcDbLinetypeTable* table = nullptr;
    Acad::ErrorStatus es = db->getLinetypeTable(table, AcDb::kForWrite);
    if (es != Acad::eOk) {
        delete rec;
        return es;
    }
    es = table->add(rec);
    if (es == Acad::eOk)
        rec->close();
    else
        delete rec;
    table->close();
    return es;
}

} // namespace

Acad::ErrorStatus acdbLoadLineTypeFile(const ACHAR* ltname, const ACHAR* fname, AcDbDatabase* pDb) {
    if (!pDb)
        pDb = acdbHostApplicationServices()->workingDatabase();
    if (!pDb)
        return Acad::eNoDatabase;
    if (!ltname || !*ltname || !fname || !*fname)
        return Acad::eInvalidInput;
    const bool all = std::wstring(ltname) == L"*";
    if (!all && !findRecord(pDb, DbRole::LinetypeTable, ltname).isNull())
        return Acad::eDuplicateRecordName;
    std::wstring text;
    if (!readFile(fname, text))
        return Acad::eFileNotFound;
    const std::wstring key = nameKey(ltname);
    bool found = false;
    for (const Definition& def : parseFile(text)) {
        if (!all && nameKey(def.name.c_str()) != key)
            continue;
        found = true;
        if (all && !findRecord(pDb, DbRole::LinetypeTable, def.name.c_str()).isNull())
            continue;
        AcDbLinetypeTableRecord* rec = nullptr;
        Acad::ErrorStatus es = makeRecord(pDb, def, fname, rec);
        if (es == Acad::eOk)
            es = addRecord(pDb, rec);
        if (es != Acad::eOk || !all)
            return es;
    }
    return found || all ? Acad::eOk : Acad::eUndefinedLineType;
}
