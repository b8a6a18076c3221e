// The database: stubs and handles, the objects it owns, its tables and dictionaries by role, and
// its header variables.
#include "dbimpl.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dblayout.h"
#include "dbraw.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <random>

ACRX_DEFINE_MEMBERS_DXF(AcDbDatabase, AcRxObject, L"")
ACRX_DEFINE_MEMBERS_DXF(AcDbHostApplicationServices, AcRxObject, L"")

namespace khost {

DbStub* DbImpl::stub(std::uint64_t handle, bool create) {
    if (handle == 0)
        return nullptr;
    const std::uint64_t key = handle >> kStubPageBits;
    auto it = pages.find(key);
    StubPage* page;
    if (it == pages.end()) {
        if (!create)
            return nullptr;
        page = pages.emplace(key, std::make_unique<StubPage>()).first->second.get();
    } else {
        page = it->second.get();
    }
    DbStub* s = &page->stubs[handle & (kStubPageSize - 1)];
    if (s->handle == 0) {
        if (!create)
            return nullptr;
        s->handle = handle;
        s->database = self;
        if (handle >= handseed)
            handseed = handle + 1;
    }
    return s;
}

AcDbObjectId roleId(const AcDbDatabase* db, DbRole role) {
    return db->impl().roleId(role);
}
void setRoleId(AcDbDatabase* db, DbRole role, AcDbObjectId id) {
    db->impl().roles[static_cast<int>(role)] = id.stub();
}

void forEachObject(const AcDbDatabase* db, const std::function<void(AcDbObjectId)>& fn) {
    std::vector<std::uint64_t> keys;
    keys.reserve(db->impl().pages.size());
    for (auto& [k, p] : db->impl().pages)
        keys.push_back(k);
    std::sort(keys.begin(), keys.end());
    for (std::uint64_t k : keys) {
        StubPage* page = db->impl().pages.at(k).get();
        for (DbStub& s : page->stubs)
            if (s.handle && s.object)
                fn(AcDbObjectId(&s));
    }
}

Acad::ErrorStatus addObjectWithHandle(AcDbDatabase* db, AcDbObject* obj, AcDbHandle handle,
                                      AcDbObjectId& id) {
    if (!obj)
        return Acad::eNullObjectPointer;
    if (obj->isDatabaseResident())
        return Acad::eAlreadyInDb;
    if (handle.isNull())
        return Acad::eNullHandle;
    DbStub* s = db->impl().stub(handle.value(), true);
    if (s->object)
        return Acad::eHandleInUse;
    DbAccess::attach(obj, s);
    ++db->impl().numObjects;
    id = AcDbObjectId(s);
    DbAccess::callAdded(obj);
    return Acad::eOk;
}

void setOwnerRaw(AcDbObject* obj, AcDbObjectId owner) {
    DbAccess::setOwner(obj, owner.stub());
}

const resbuf* extraHeaderVar(const AcDbDatabase* db, const std::wstring& name) {
    auto& m = db->impl().extraHeader;
    auto it = m.find(name);
    return it == m.end() ? nullptr : it->second;
}
void setExtraHeaderVar(AcDbDatabase* db, const std::wstring& name, const resbuf* chain) {
    auto& m = db->impl().extraHeader;
    auto it = m.find(name);
    if (it != m.end()) {
        acutRelRb(it->second);
        m.erase(it);
    }
    if (chain)
        m[name] = rbCopyChain(chain);
}
std::vector<std::wstring> extraHeaderVarNames(const AcDbDatabase* db) {
    std::vector<std::wstring> v;
    for (auto& [k, c] : db->impl().extraHeader)
        v.push_back(k);
    return v;
}

namespace {
DrawingCodec& codec() {
    static DrawingCodec c;
    return c;
}
} // namespace
void setDrawingCodec(const DrawingCodec& c) {
    codec() = c;
}
void setDatabaseFilename(AcDbDatabase* db, const std::wstring& fileName) {
    db->impl().fileName = fileName;
}

namespace {
void upperInPlace(std::wstring& k) {
    for (wchar_t& c : k) {
        if (c < 0x80) {
            if (c >= L'a' && c <= L'z')
                c = static_cast<wchar_t>(c - L'a' + L'A');
        } else {
            c = static_cast<wchar_t>(u_toupper(static_cast<UChar32>(c)));
        }
    }
}
} // namespace

std::wstring nameKey(const ACHAR* name) {
    std::wstring k = name ? name : L"";
    upperInPlace(k);
    return k;
}

bool isValidSymbolName(const ACHAR* name, bool allowLeadingStar) {
    if (!name || !*name)
        return false;
    size_t n = std::wcslen(name);
    if (n > 255)
        return false;
    for (size_t i = 0; i < n; ++i) {
        wchar_t c = name[i];
        if (c < 0x20)
            return false;
        if (c == L'*' && i == 0 && allowLeadingStar && n > 1)
            continue;
        if (std::wcschr(L"<>/\\\":;?*|,=`", c))
            return false;
    }
    return true;
}

std::wstring newGuid() {
    static std::mt19937_64 gen{std::random_device{}()};
    std::uint64_t a = gen(), b = gen();
    // Version 4, variant 1.
    a = (a & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;
    b = (b & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;
    wchar_t buf[40];
    std::swprintf(
        buf, 40, L"{%08llX-%04llX-%04llX-%04llX-%012llX}", static_cast<unsigned long long>(a >> 32),
        static_cast<unsigned long long>((a >> 16) & 0xFFFF),
        static_cast<unsigned long long>(a & 0xFFFF), static_cast<unsigned long long>(b >> 48),
        static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFull));
    return buf;
}

AcDbObjectId findRecord(AcDbDatabase* db, DbRole table, const ACHAR* name) {
    auto* t = AcDbSymbolTable::cast(stubObject(db->impl().role(table)));
    if (!t || !name)
        return AcDbObjectId::kNull;
    auto& idx = DbAccess::index(t);
    // Asked for every entity a drawing reads: the key is made in a buffer that keeps its room.
    thread_local std::wstring key;
    key.assign(name);
    upperInPlace(key);
    auto it = idx.find(key);
    return it == idx.end() ? AcDbObjectId::kNull : AcDbObjectId(it->second);
}

void setCurrentUcs(AcDbDatabase* db, const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                   const AcGeVector3d& yAxis, bool paperSpace, AcDbObjectId ucsRecord) {
    DbHeader& h = db->impl().header;
    if (paperSpace) {
        h.pucsorg = origin;
        h.pucsxdir = xAxis;
        h.pucsydir = yAxis;
        h.pucsname = ucsRecord.stub();
    } else {
        h.ucsorg = origin;
        h.ucsxdir = xAxis;
        h.ucsydir = yAxis;
        h.ucsname = ucsRecord.stub();
    }
}

void resolveRoles(AcDbDatabase* db) {
    DbImpl& im = db->impl();
    auto set = [&](DbRole r, DbStub* s) {
        if (!im.role(r))
            im.roles[static_cast<int>(r)] = s;
    };
    forEachObject(db, [&](AcDbObjectId id) {
        AcDbObject* o = id.stub()->object;
        if (stubErased(id.stub()) || AcDbEntity::cast(o))
            return;
        if (AcDbBlockTable::cast(o))
            set(DbRole::BlockTable, id.stub());
        else if (AcDbLayerTable::cast(o))
            set(DbRole::LayerTable, id.stub());
        else if (AcDbTextStyleTable::cast(o))
            set(DbRole::TextStyleTable, id.stub());
        else if (AcDbLinetypeTable::cast(o))
            set(DbRole::LinetypeTable, id.stub());
        else if (AcDbViewTable::cast(o))
            set(DbRole::ViewTable, id.stub());
        else if (AcDbUCSTable::cast(o))
            set(DbRole::UCSTable, id.stub());
        else if (AcDbViewportTable::cast(o))
            set(DbRole::ViewportTable, id.stub());
        else if (AcDbRegAppTable::cast(o))
            set(DbRole::RegAppTable, id.stub());
        else if (AcDbDimStyleTable::cast(o))
            set(DbRole::DimStyleTable, id.stub());
        else if (AcDbDictionary::cast(o) && !DbAccess::ownerStub(o))
            set(DbRole::NamedObjects, id.stub());
    });
    if (auto* nod = AcDbDictionary::cast(stubObject(im.role(DbRole::NamedObjects)))) {
        static const std::pair<DbRole, const wchar_t*> dicts[] = {
            {DbRole::GroupDict, ACDB_GROUP_DICTIONARY},
            {DbRole::LayoutDict, ACDB_LAYOUT_DICTIONARY},
            {DbRole::MLeaderStyleDict, ACDB_MLEADERSTYLE_DICTIONARY},
            {DbRole::TableStyleDict, ACDB_TABLESTYLE_DICTIONARY},
            {DbRole::PlotSettingsDict, ACDB_PLOTSETTINGS_DICTIONARY},
            {DbRole::PlotStyleNameDict, ACDB_PLOTSTYLENAME_DICTIONARY},
            {DbRole::MaterialDict, ACDB_MATERIAL_DICTIONARY},
            {DbRole::ColorDict, ACDB_COLOR_DICTIONARY},
            {DbRole::MLStyleDict, ACDB_MLINESTYLE_DICTIONARY},
            {DbRole::ScaleListDict, ACDB_SCALE_LIST_DICTIONARY},
        };
        for (auto& [role, key] : dicts) {
            AcDbObjectId id;
            if (nod->getAt(key, id) == Acad::eOk)
                set(role, id.stub());
        }
    }
    set(DbRole::ModelSpace, findRecord(db, DbRole::BlockTable, ACDB_MODEL_SPACE).stub());
    set(DbRole::PaperSpace, findRecord(db, DbRole::BlockTable, ACDB_PAPER_SPACE).stub());
    set(DbRole::LayerZero, findRecord(db, DbRole::LayerTable, L"0").stub());
    set(DbRole::LinetypeContinuous, findRecord(db, DbRole::LinetypeTable, L"Continuous").stub());
    set(DbRole::LinetypeByLayer, findRecord(db, DbRole::LinetypeTable, L"ByLayer").stub());
    set(DbRole::LinetypeByBlock, findRecord(db, DbRole::LinetypeTable, L"ByBlock").stub());
    DbHeader& h = im.header;
    if (!h.clayer)
        h.clayer = im.role(DbRole::LayerZero);
    if (!h.celtype)
        h.celtype = im.role(DbRole::LinetypeByLayer);
    if (!h.textstyle)
        h.textstyle = findRecord(db, DbRole::TextStyleTable, L"Standard").stub();
    if (!h.dimstyle)
        h.dimstyle = findRecord(db, DbRole::DimStyleTable, L"Standard").stub();
    if (!h.currentSpace)
        h.currentSpace = im.role(h.tilemode ? DbRole::ModelSpace : DbRole::PaperSpace);
}

Acad::ErrorStatus setDwgCodePage(AcDbDatabase* db, const std::wstring& name) {
    if (!db)
        return Acad::eNoDatabase;
    if (name.empty() || name.size() > 64)
        return Acad::eInvalidInput;
    std::wstring upper;
    for (wchar_t c : name) {
        bool ok = (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') ||
                  (c >= L'a' && c <= L'z') || c == L'_' || c == L'-';
        if (!ok)
            return Acad::eInvalidInput;
        upper.push_back(c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c);
    }
    db->impl().header.dwgcodepage = upper;
    return Acad::eOk;
}

} // namespace khost

using namespace khost;

// ---- Host application services ------------------------------------------------------------------

namespace {
AcDbHostApplicationServices*& services() {
    static AcDbHostApplicationServices defaultServices;
    static AcDbHostApplicationServices* current = &defaultServices;
    return current;
}
} // namespace

AcDbHostApplicationServices* acdbHostApplicationServices() {
    return services();
}
Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* pServices) {
    if (!pServices)
        return Acad::eNullPtr;
    services() = pServices;
    return Acad::eOk;
}

// ---- Units
// ----------------------------------------------------------------------------------------

Acad::ErrorStatus acdbGetUnitsConversion(AcDb::UnitsValue from, AcDb::UnitsValue to,
                                         double& factor) {
    // Metres per unit.
    static const double meters[] = {
        0.0,                   // undefined
        0.0254,                // inches
        0.3048,                // feet
        1609.344,              // miles
        0.001,                 // millimetres
        0.01,                  // centimetres
        1.0,                   // metres
        1000.0,                // kilometres
        0.0000000254,          // microinches
        0.0000254,             // mils
        0.9144,                // yards
        1e-10,                 // angstroms
        1e-9,                  // nanometres
        1e-6,                  // microns
        0.1,                   // decimetres
        10.0,                  // dekametres
        100.0,                 // hectometres
        1e9,                   // gigametres
        1.495978707e11,        // astronomical units
        9.4607304725808e15,    // light years
        3.0856775814913673e16, // parsecs
        1200.0 / 3937.0,       // US survey feet
        100.0 / 3937.0,        // US survey inches
        3600.0 / 3937.0,       // US survey yards
        6336000.0 / 3937.0,    // US survey miles
    };
    if (from <= AcDb::kUnitsUndefined || to <= AcDb::kUnitsUndefined || from > AcDb::kUnitsMax ||
        to > AcDb::kUnitsMax)
        return Acad::eInvalidInput;
    factor = from == to ? 1.0 : meters[from] / meters[to];
    return Acad::eOk;
}

// ---- The database -------------------------------------------------------------------------------

AcDbDatabase::AcDbDatabase(bool buildDefault, bool noDocument)
    : m_impl(std::make_unique<DbImpl>(this)) {
    m_impl->noDocument = noDocument;
    m_impl->header.fingerprint = newGuid();
    m_impl->header.versionGuid = newGuid();
    registerDatabase(this);
    if (buildDefault) {
        buildDefaultDrawing(this);
        // Layer 0 uses the drawing's default plot style.
        auto* layer0 = AcDbLayerTableRecord::cast(stubObject(m_impl->role(DbRole::LayerZero)));
        auto* styles =
            AcDbDictionaryWithDefault::cast(stubObject(m_impl->role(DbRole::PlotStyleNameDict)));
        if (layer0 && styles && layer0->plotStyleNameId().isNull() &&
            !styles->defaultId().isNull()) {
            DbAccess::forceOpenWrite(layer0);
            layer0->setPlotStyleName(styles->defaultId());
            DbAccess::forceClose(layer0);
        }
    }
}

AcDbDatabase::~AcDbDatabase() {
    unregisterDatabase(this);
    if (acdbHostApplicationServices()->workingDatabase() == this)
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    for (auto& [k, page] : m_impl->pages)
        for (DbStub& s : page->stubs) {
            delete s.object;
            s.object = nullptr;
        }
    for (auto& [k, c] : m_impl->extraHeader)
        acutRelRb(c);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* pObj) {
    AcDbObjectId id;
    return addAcDbObject(id, pObj);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj) {
    if (!pObj)
        return Acad::eNullObjectPointer;
    if (pObj->isDatabaseResident())
        return Acad::eAlreadyInDb;
    std::uint64_t h = m_impl->handseed;
    while (m_impl->stub(h, false))
        ++h;
    return addObjectWithHandle(this, pObj, AcDbHandle(h), objId);
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound,
                                                const AcDbHandle& objHandle, Adesk::UInt32) {
    retId = AcDbObjectId::kNull;
    if (objHandle.isNull())
        return Acad::eNullHandle;
    DbStub* s = m_impl->stub(objHandle.value(), createIfNotFound);
    if (!s)
        return Acad::eUnknownHandle;
    retId = AcDbObjectId(s);
    return Acad::eOk;
}

AcDbHandle AcDbDatabase::handseed() const {
    return AcDbHandle(m_impl->handseed);
}
Acad::ErrorStatus AcDbDatabase::setHandseed(const AcDbHandle& handle) {
    if (handle.value() < m_impl->handseed)
        return Acad::eInvalidInput;
    m_impl->handseed = handle.value();
    return Acad::eOk;
}
Adesk::Int32 AcDbDatabase::approxNumObjects() const {
    return m_impl->numObjects;
}

namespace {
template <class T>
Acad::ErrorStatus openRole(const AcDbDatabase* db, DbRole role, T*& p, AcDb::OpenMode mode) {
    p = nullptr;
    DbStub* s = db->impl().role(role);
    if (!s)
        return Acad::eNullObjectId;
    return acdbOpenObject(p, AcDbObjectId(s), mode);
}
} // namespace

Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbBlockTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::BlockTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbLayerTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::LayerTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbTextStyleTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::TextStyleTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbLinetypeTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::LinetypeTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbViewTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::ViewTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbUCSTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::UCSTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbViewportTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::ViewportTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbRegAppTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::RegAppTable, p, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbDimStyleTable*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::DimStyleTable, p, m);
}

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::NamedObjects, p, m);
}
Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::GroupDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getLayoutDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::LayoutDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getMLeaderStyleDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::MLeaderStyleDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getTableStyleDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::TableStyleDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getPlotSettingsDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::PlotSettingsDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getPlotStyleNameDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::PlotStyleNameDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getMaterialDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::MaterialDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getColorDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::ColorDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getMLStyleDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::MLStyleDict, p, m);
}
Acad::ErrorStatus AcDbDatabase::getScaleListDictionary(AcDbDictionary*& p, AcDb::OpenMode m) {
    return openRole(this, DbRole::ScaleListDict, p, m);
}

AcDbObjectId AcDbDatabase::blockTableId() const {
    return m_impl->roleId(DbRole::BlockTable);
}
AcDbObjectId AcDbDatabase::layerTableId() const {
    return m_impl->roleId(DbRole::LayerTable);
}
AcDbObjectId AcDbDatabase::textStyleTableId() const {
    return m_impl->roleId(DbRole::TextStyleTable);
}
AcDbObjectId AcDbDatabase::linetypeTableId() const {
    return m_impl->roleId(DbRole::LinetypeTable);
}
AcDbObjectId AcDbDatabase::viewTableId() const {
    return m_impl->roleId(DbRole::ViewTable);
}
AcDbObjectId AcDbDatabase::UCSTableId() const {
    return m_impl->roleId(DbRole::UCSTable);
}
AcDbObjectId AcDbDatabase::viewportTableId() const {
    return m_impl->roleId(DbRole::ViewportTable);
}
AcDbObjectId AcDbDatabase::regAppTableId() const {
    return m_impl->roleId(DbRole::RegAppTable);
}
AcDbObjectId AcDbDatabase::dimStyleTableId() const {
    return m_impl->roleId(DbRole::DimStyleTable);
}
AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const {
    return m_impl->roleId(DbRole::NamedObjects);
}
AcDbObjectId AcDbDatabase::groupDictionaryId() const {
    return m_impl->roleId(DbRole::GroupDict);
}
AcDbObjectId AcDbDatabase::layoutDictionaryId() const {
    return m_impl->roleId(DbRole::LayoutDict);
}
AcDbObjectId AcDbDatabase::mleaderStyleDictionaryId() const {
    return m_impl->roleId(DbRole::MLeaderStyleDict);
}
AcDbObjectId AcDbDatabase::tableStyleDictionaryId() const {
    return m_impl->roleId(DbRole::TableStyleDict);
}
AcDbObjectId AcDbDatabase::plotSettingsDictionaryId() const {
    return m_impl->roleId(DbRole::PlotSettingsDict);
}
AcDbObjectId AcDbDatabase::plotStyleNameDictionaryId() const {
    return m_impl->roleId(DbRole::PlotStyleNameDict);
}
AcDbObjectId AcDbDatabase::materialDictionaryId() const {
    return m_impl->roleId(DbRole::MaterialDict);
}
AcDbObjectId AcDbDatabase::colorDictionaryId() const {
    return m_impl->roleId(DbRole::ColorDict);
}
AcDbObjectId AcDbDatabase::mLStyleDictionaryId() const {
    return m_impl->roleId(DbRole::MLStyleDict);
}
AcDbObjectId AcDbDatabase::scaleListDictionaryId() const {
    return m_impl->roleId(DbRole::ScaleListDict);
}
AcDbObjectId AcDbDatabase::layerZero() const {
    return m_impl->roleId(DbRole::LayerZero);
}
AcDbObjectId AcDbDatabase::continuousLinetype() const {
    return m_impl->roleId(DbRole::LinetypeContinuous);
}
AcDbObjectId AcDbDatabase::byLayerLinetype() const {
    return m_impl->roleId(DbRole::LinetypeByLayer);
}
AcDbObjectId AcDbDatabase::byBlockLinetype() const {
    return m_impl->roleId(DbRole::LinetypeByBlock);
}

AcDbObjectId AcDbDatabase::currentSpaceId() const {
    if (DbStub* s = m_impl->header.currentSpace)
        return AcDbObjectId(s);
    return m_impl->roleId(m_impl->header.tilemode ? DbRole::ModelSpace : DbRole::PaperSpace);
}
Acad::ErrorStatus AcDbDatabase::setCurrentSpaceId(AcDbObjectId id) {
    if (!AcDbBlockTableRecord::cast(peekObject(id)) || id.database() != this)
        return Acad::eInvalidInput;
    m_impl->header.currentSpace = id.stub();
    return Acad::eOk;
}

// ---- Header variables -------------------------------------------------------------------------

namespace {
// A record id of this database and of the given table (not erased).
bool isRecordOf(const AcDbDatabase* db, AcDbObjectId id, DbRole table) {
    AcDbObject* o = peekObject(id);
    return o && id.database() == db && !id.isErased() &&
           DbAccess::ownerStub(o) == db->impl().role(table);
}
bool isEntryOf(const AcDbDatabase* db, AcDbObjectId id, DbRole dict) {
    AcDbObject* o = peekObject(id);
    return o && id.database() == db && !id.isErased() &&
           DbAccess::ownerStub(o) == db->impl().role(dict);
}
bool validLineWeight(int w) {
    static const int ok[] = {0,  5,  9,  13,  15,  18,  20,  25,  30,  35,  40, 50, 53, 60,
                             70, 80, 90, 100, 106, 120, 140, 158, 200, 211, -1, -2, -3};
    return std::find(std::begin(ok), std::end(ok), w) != std::end(ok);
}
} // namespace

AcDb::UnitsValue AcDbDatabase::insunits() const {
    return static_cast<AcDb::UnitsValue>(m_impl->header.insunits);
}
Acad::ErrorStatus AcDbDatabase::setInsunits(AcDb::UnitsValue u) {
    if (u < AcDb::kUnitsUndefined || u > AcDb::kUnitsMax)
        return Acad::eOutOfRange;
    m_impl->header.insunits = static_cast<Adesk::Int16>(u);
    return Acad::eOk;
}
double AcDbDatabase::ltscale() const {
    return m_impl->header.ltscale;
}
Acad::ErrorStatus AcDbDatabase::setLtscale(double v) {
    if (!(v > 0.0))
        return Acad::eInvalidInput;
    m_impl->header.ltscale = v;
    return Acad::eOk;
}
bool AcDbDatabase::msltscale() const {
    return m_impl->header.msltscale;
}
Acad::ErrorStatus AcDbDatabase::setMsltscale(bool v) {
    m_impl->header.msltscale = v;
    return Acad::eOk;
}
bool AcDbDatabase::psltscale() const {
    return m_impl->header.psltscale;
}
Acad::ErrorStatus AcDbDatabase::setPsltscale(bool v) {
    m_impl->header.psltscale = v;
    return Acad::eOk;
}
double AcDbDatabase::celtscale() const {
    return m_impl->header.celtscale;
}
Acad::ErrorStatus AcDbDatabase::setCeltscale(double v) {
    if (!(v > 0.0))
        return Acad::eInvalidInput;
    m_impl->header.celtscale = v;
    return Acad::eOk;
}
bool AcDbDatabase::tilemode() const {
    return m_impl->header.tilemode;
}
Acad::ErrorStatus AcDbDatabase::setTilemode(bool v) {
    m_impl->header.tilemode = v;
    m_impl->header.currentSpace = m_impl->role(v ? DbRole::ModelSpace : DbRole::PaperSpace);
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::clayer() const {
    return AcDbObjectId(m_impl->header.clayer);
}
Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId id) {
    if (!isRecordOf(this, id, DbRole::LayerTable))
        return Acad::eInvalidInput;
    if (static_cast<AcDbLayerTableRecord*>(peekObject(id))->isFrozen())
        return Acad::eInvalidLayer;
    m_impl->header.clayer = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::celtype() const {
    return AcDbObjectId(m_impl->header.celtype);
}
Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId id) {
    if (!isRecordOf(this, id, DbRole::LinetypeTable))
        return Acad::eInvalidInput;
    m_impl->header.celtype = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::textstyle() const {
    return AcDbObjectId(m_impl->header.textstyle);
}
Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId id) {
    if (!isRecordOf(this, id, DbRole::TextStyleTable))
        return Acad::eInvalidInput;
    m_impl->header.textstyle = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::dimstyle() const {
    return AcDbObjectId(m_impl->header.dimstyle);
}
Acad::ErrorStatus AcDbDatabase::setDimstyle(AcDbObjectId id) {
    if (!isRecordOf(this, id, DbRole::DimStyleTable))
        return Acad::eInvalidInput;
    m_impl->header.dimstyle = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::cmlstyleID() const {
    return AcDbObjectId(m_impl->header.cmlstyle);
}
Acad::ErrorStatus AcDbDatabase::setCmlstyleID(AcDbObjectId id) {
    if (!isEntryOf(this, id, DbRole::MLStyleDict))
        return Acad::eInvalidInput;
    m_impl->header.cmlstyle = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::mleaderstyle() const {
    return AcDbObjectId(m_impl->header.mleaderstyle);
}
Acad::ErrorStatus AcDbDatabase::setMLeaderstyle(AcDbObjectId id) {
    if (!isEntryOf(this, id, DbRole::MLeaderStyleDict))
        return Acad::eInvalidInput;
    m_impl->header.mleaderstyle = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbDatabase::tablestyle() const {
    return AcDbObjectId(m_impl->header.tablestyle);
}
Acad::ErrorStatus AcDbDatabase::setTablestyle(AcDbObjectId id) {
    if (!isEntryOf(this, id, DbRole::TableStyleDict))
        return Acad::eInvalidInput;
    m_impl->header.tablestyle = id.stub();
    return Acad::eOk;
}
AcCmColor AcDbDatabase::cecolor() const {
    return m_impl->header.cecolor;
}
Acad::ErrorStatus AcDbDatabase::setCecolor(const AcCmColor& c) {
    m_impl->header.cecolor = c;
    return Acad::eOk;
}
AcDb::LineWeight AcDbDatabase::celweight() const {
    return static_cast<AcDb::LineWeight>(m_impl->header.celweight);
}
Acad::ErrorStatus AcDbDatabase::setCelweight(AcDb::LineWeight w) {
    if (!validLineWeight(w))
        return Acad::eInvalidInput;
    m_impl->header.celweight = static_cast<Adesk::Int16>(w);
    return Acad::eOk;
}
double AcDbDatabase::textsize() const {
    return m_impl->header.textsize;
}
Acad::ErrorStatus AcDbDatabase::setTextsize(double v) {
    if (!(v > 0.0))
        return Acad::eInvalidInput;
    m_impl->header.textsize = v;
    return Acad::eOk;
}
double AcDbDatabase::dimscale() const {
    return m_impl->header.dimscale;
}
Acad::ErrorStatus AcDbDatabase::setDimscale(double v) {
    if (!(v >= 0.0))
        return Acad::eInvalidInput;
    m_impl->header.dimscale = v;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::getDimblk(AcString& name) const {
    name = m_impl->header.dimblk;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::getDimblk(ACHAR*& name) const {
    acutNewString(m_impl->header.dimblk.c_str(), name);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setDimblk(const ACHAR* name) {
    std::wstring s = name ? name : L"";
    m_impl->header.dimblk = s == L"." ? L"" : s;
    return Acad::eOk;
}

#define KHOST_INT_RANGE(GET, SET, FIELD, LO, HI)                                                   \
    Adesk::Int16 AcDbDatabase::GET() const {                                                       \
        return m_impl->header.FIELD;                                                               \
    }                                                                                              \
    Acad::ErrorStatus AcDbDatabase::SET(Adesk::Int16 v) {                                          \
        if (v < (LO) || v > (HI))                                                                  \
            return Acad::eOutOfRange;                                                              \
        m_impl->header.FIELD = v;                                                                  \
        return Acad::eOk;                                                                          \
    }
KHOST_INT_RANGE(lunits, setLunits, lunits, 1, 5)
KHOST_INT_RANGE(luprec, setLuprec, luprec, 0, 8)
KHOST_INT_RANGE(aunits, setAunits, aunits, 0, 4)
KHOST_INT_RANGE(auprec, setAuprec, auprec, 0, 8)
#undef KHOST_INT_RANGE

double AcDbDatabase::angbase() const {
    return m_impl->header.angbase;
}
Acad::ErrorStatus AcDbDatabase::setAngbase(double v) {
    m_impl->header.angbase = v;
    return Acad::eOk;
}
bool AcDbDatabase::angdir() const {
    return m_impl->header.angdir;
}
Acad::ErrorStatus AcDbDatabase::setAngdir(bool v) {
    m_impl->header.angdir = v;
    return Acad::eOk;
}
AcDb::MeasurementValue AcDbDatabase::measurement() const {
    return static_cast<AcDb::MeasurementValue>(m_impl->header.measurement);
}
Acad::ErrorStatus AcDbDatabase::setMeasurement(AcDb::MeasurementValue v) {
    m_impl->header.measurement = static_cast<Adesk::Int16>(v);
    return Acad::eOk;
}

AcGePoint3d AcDbDatabase::ucsorg() const {
    return m_impl->header.ucsorg;
}
AcGeVector3d AcDbDatabase::ucsxdir() const {
    return m_impl->header.ucsxdir;
}
AcGeVector3d AcDbDatabase::ucsydir() const {
    return m_impl->header.ucsydir;
}
AcDbObjectId AcDbDatabase::ucsname() const {
    return AcDbObjectId(m_impl->header.ucsname);
}
AcGePoint3d AcDbDatabase::pucsorg() const {
    return m_impl->header.pucsorg;
}
AcGeVector3d AcDbDatabase::pucsxdir() const {
    return m_impl->header.pucsxdir;
}
AcGeVector3d AcDbDatabase::pucsydir() const {
    return m_impl->header.pucsydir;
}
AcDbObjectId AcDbDatabase::pucsname() const {
    return AcDbObjectId(m_impl->header.pucsname);
}

namespace {
Acad::ErrorStatus applyUcsRecord(AcDbDatabase* db, AcDbObjectId id, bool paper) {
    if (id.isNull()) {
        (paper ? db->impl().header.pucsname : db->impl().header.ucsname) = nullptr;
        return Acad::eOk;
    }
    if (!isRecordOf(db, id, DbRole::UCSTable))
        return Acad::eInvalidInput;
    auto* rec = static_cast<AcDbUCSTableRecord*>(peekObject(id));
    setCurrentUcs(db, rec->origin(), rec->xAxis(), rec->yAxis(), paper, id);
    return Acad::eOk;
}
} // namespace

Acad::ErrorStatus AcDbDatabase::setUcsname(AcDbObjectId id) {
    return applyUcsRecord(this, id, false);
}
Acad::ErrorStatus AcDbDatabase::setPucsname(AcDbObjectId id) {
    return applyUcsRecord(this, id, true);
}

namespace {
bool validGuid(const ACHAR* g) {
    if (!g || std::wcslen(g) != 38 || g[0] != L'{' || g[37] != L'}')
        return false;
    for (int i = 1; i < 37; ++i) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (g[i] != L'-')
                return false;
        } else if (!std::iswxdigit(static_cast<wint_t>(g[i]))) {
            return false;
        }
    }
    return true;
}
std::wstring upperGuid(const ACHAR* g) {
    std::wstring s = g;
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return s;
}
} // namespace

Acad::ErrorStatus AcDbDatabase::getFingerprintGuid(ACHAR*& g) const {
    acutNewString(m_impl->header.fingerprint.c_str(), g);
    return Acad::eOk;
}
AcString AcDbDatabase::fingerprintGuid() const {
    return AcString(m_impl->header.fingerprint);
}
Acad::ErrorStatus AcDbDatabase::setFingerprintGuid(const ACHAR* g) {
    if (!validGuid(g))
        return Acad::eInvalidInput;
    m_impl->header.fingerprint = upperGuid(g);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::getVersionGuid(ACHAR*& g) const {
    acutNewString(m_impl->header.versionGuid.c_str(), g);
    return Acad::eOk;
}
AcString AcDbDatabase::versionGuid() const {
    return AcString(m_impl->header.versionGuid);
}
Acad::ErrorStatus AcDbDatabase::setVersionGuid(const ACHAR* g) {
    if (!validGuid(g))
        return Acad::eInvalidInput;
    m_impl->header.versionGuid = upperGuid(g);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getFilename(const ACHAR*& pOutput) const {
    pOutput = m_impl->fileName.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::readDwgFile(const ACHAR* fileName) {
    if (!codec().read)
        return Acad::eNotImplementedYet;
    return codec().read(this, fileName);
}
Acad::ErrorStatus AcDbDatabase::dxfIn(const ACHAR* fileName) {
    return readDwgFile(fileName);
}
Acad::ErrorStatus AcDbDatabase::saveAs(const ACHAR* fileName) {
    return dxfOut(fileName, 16);
}
Acad::ErrorStatus AcDbDatabase::dxfOut(const ACHAR* fileName, int precision) {
    if (!codec().write)
        return Acad::eNotImplementedYet;
    return codec().write(this, fileName, precision);
}
