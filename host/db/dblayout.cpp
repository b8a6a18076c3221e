// Plot settings, layouts and the layout manager.
#include "dblayout.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dbdict.h"
#include "dbimpl.h"

#include <algorithm>

using namespace khost;

ACRX_DEFINE_MEMBERS_DXF(AcDbPlotSettings, AcDbObject, L"PLOTSETTINGS")
ACRX_DEFINE_MEMBERS_DXF(AcDbLayout, AcDbPlotSettings, L"LAYOUT")

namespace {
AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}
// A point the DXF writer writes with two coordinates.
void write2d(AcDbDxfFiler* f, int c, double x, double y) {
    const double p[3] = {x, y, -0.0};
    f->writePoint3d(code(c), p);
}
} // namespace

// ---- Plot settings ------------------------------------------------------------------------------

AcDbPlotSettings::AcDbPlotSettings()
    : m_cfgName(L"none_device"), m_mediaName(L"ISO_A4_(297.00_x_210.00_MM)") {}
AcDbPlotSettings::AcDbPlotSettings(bool modelType) : AcDbPlotSettings() {
    m_modelType = modelType;
}
void AcDbPlotSettings::setModelType(bool modelType) {
    if (assertWriteEnabled())
        m_modelType = modelType;
}
Acad::ErrorStatus AcDbPlotSettings::getPlotSettingsName(ACHAR*& name) const {
    acutNewString(m_plotSettingsName.c_str(), name);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPlotSettings::getPlotSettingsName(AcString& name) const {
    name = m_plotSettingsName;
    return Acad::eOk;
}

#define KHOST_PS_STRING(GET, SET, FIELD)                                                           \
    Acad::ErrorStatus AcDbPlotSettings::GET(const ACHAR*& name) const {                            \
        name = FIELD.c_str();                                                                      \
        return Acad::eOk;                                                                          \
    }                                                                                              \
    Acad::ErrorStatus AcDbPlotSettings::SET(const ACHAR* name) {                                   \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        FIELD = name ? name : L"";                                                                 \
        return Acad::eOk;                                                                          \
    }
KHOST_PS_STRING(getPlotCfgName, setPlotCfgName, m_cfgName)
KHOST_PS_STRING(getCanonicalMediaName, setCanonicalMediaName, m_mediaName)
KHOST_PS_STRING(getCurrentStyleSheet, setCurrentStyleSheet, m_styleSheet)
#undef KHOST_PS_STRING
Acad::ErrorStatus AcDbPlotSettings::setPlotSettingsName(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_plotSettingsName = name ? name : L"";
    return Acad::eOk;
}

#define KHOST_PS_VALUES(GET, SET, FIELD, N, COND, ...)                                             \
    Acad::ErrorStatus AcDbPlotSettings::SET(__VA_ARGS__) {                                         \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        const double v[N] = {KHOST_ARGS_##N};                                                      \
        if (!(COND))                                                                               \
            return Acad::eInvalidInput;                                                            \
        for (int i = 0; i < N; ++i)                                                                \
            FIELD[i] = v[i];                                                                       \
        return Acad::eOk;                                                                          \
    }
#define KHOST_ARGS_2 a, b
#define KHOST_ARGS_4 a, b, c, d
KHOST_PS_VALUES(getPlotPaperMargins, setPlotPaperMargins, m_margins, 4,
                a >= 0 && b >= 0 && c >= 0 && d >= 0, double a, double b, double c, double d)
KHOST_PS_VALUES(getPlotPaperSize, setPlotPaperSize, m_paper, 2, a > 0 && b > 0, double a, double b)
KHOST_PS_VALUES(getPlotOrigin, setPlotOrigin, m_origin, 2, true, double a, double b)
KHOST_PS_VALUES(getPlotWindowArea, setPlotWindowArea, m_window, 4, true, double a, double b,
                double c, double d)
KHOST_PS_VALUES(getCustomPrintScale, setCustomPrintScale, m_scale, 2, a > 0 && b > 0, double a,
                double b)
#undef KHOST_PS_VALUES
#undef KHOST_ARGS_2
#undef KHOST_ARGS_4
void AcDbPlotSettings::getPlotPaperMargins(double& l, double& b, double& r, double& t) const {
    l = m_margins[0];
    b = m_margins[1];
    r = m_margins[2];
    t = m_margins[3];
}
void AcDbPlotSettings::getPlotPaperSize(double& w, double& h) const {
    w = m_paper[0];
    h = m_paper[1];
}
void AcDbPlotSettings::getPlotOrigin(double& x, double& y) const {
    x = m_origin[0];
    y = m_origin[1];
}
void AcDbPlotSettings::getPlotWindowArea(double& x0, double& y0, double& x1, double& y1) const {
    x0 = m_window[0];
    y0 = m_window[1];
    x1 = m_window[2];
    y1 = m_window[3];
}
void AcDbPlotSettings::getCustomPrintScale(double& n, double& d) const {
    n = m_scale[0];
    d = m_scale[1];
}

#define KHOST_PS_ENUM(SET, TYPE, FIELD, LO, HI)                                                    \
    Acad::ErrorStatus AcDbPlotSettings::SET(TYPE v) {                                              \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        if (v < LO || v > HI)                                                                      \
            return Acad::eInvalidInput;                                                            \
        FIELD = static_cast<Adesk::Int16>(v);                                                      \
        return Acad::eOk;                                                                          \
    }
KHOST_PS_ENUM(setPlotPaperUnits, PlotPaperUnits, m_paperUnits, kInches, kPixels)
KHOST_PS_ENUM(setPlotRotation, PlotRotation, m_rotation, k0degrees, k270degrees)
KHOST_PS_ENUM(setPlotType, PlotType, m_plotType, kDisplay, kLayout)
KHOST_PS_ENUM(setStdScaleType, StdScaleType, m_stdScaleType, 0, 32)
#undef KHOST_PS_ENUM
Acad::ErrorStatus AcDbPlotSettings::setUseStandardScale(bool value) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_flags = static_cast<Adesk::Int16>(value ? (m_flags | 16) : (m_flags & ~16));
    return Acad::eOk;
}
Adesk::Int16 AcDbPlotSettings::plotLayoutFlags() const {
    return static_cast<Adesk::Int16>((m_flags & ~1024) | (m_modelType ? 1024 : 0));
}

Acad::ErrorStatus AcDbPlotSettings::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbPlotSettings");
    return readSubclass(f, [&](const resbuf& rb) {
        const double r = rb.resval.rreal;
        const int t = rb.restype;
        switch (t) {
        case 1:
            m_plotSettingsName = rb.resval.rstring;
            break;
        case 2:
            m_cfgName = rb.resval.rstring;
            break;
        case 4:
            m_mediaName = rb.resval.rstring;
            break;
        case 6:
            m_viewName = rb.resval.rstring;
            break;
        case 7:
            m_styleSheet = rb.resval.rstring;
            break;
        case 40:
        case 41:
        case 42:
        case 43:
            m_margins[t - 40] = r;
            break;
        case 44:
        case 45:
            m_paper[t - 44] = r;
            break;
        case 46:
        case 47:
            m_origin[t - 46] = r;
            break;
        case 48:
        case 49:
            m_window[t - 48] = r;
            break;
        case 140:
        case 141:
            m_window[t - 138] = r;
            break;
        case 142:
        case 143:
            m_scale[t - 142] = r;
            break;
        case 147:
            m_scaleFactor = r;
            break;
        case 70:
            m_flags = static_cast<Adesk::Int16>(rb.resval.rint & ~1024);
            m_modelType = (rb.resval.rint & 1024) != 0;
            break;
        case 72:
            m_paperUnits = rb.resval.rint;
            break;
        case 73:
            m_rotation = rb.resval.rint;
            break;
        case 74:
            m_plotType = rb.resval.rint;
            break;
        case 75:
            m_stdScaleType = rb.resval.rint;
            break;
        case 76:
            m_shadeMode = rb.resval.rint;
            break;
        case 77:
            m_shadeResolution = rb.resval.rint;
            break;
        case 78:
            m_shadeDpi = rb.resval.rint;
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbPlotSettings::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbPlotSettings");
    f->writeString(code(1), m_plotSettingsName.c_str());
    f->writeString(code(2), m_cfgName.c_str());
    f->writeString(code(4), m_mediaName.c_str());
    f->writeString(code(6), m_viewName.c_str());
    for (int i = 0; i < 4; ++i)
        f->writeDouble(code(40 + i), m_margins[i]);
    f->writeDouble(code(44), m_paper[0]);
    f->writeDouble(code(45), m_paper[1]);
    f->writeDouble(code(46), m_origin[0]);
    f->writeDouble(code(47), m_origin[1]);
    f->writeDouble(code(48), m_window[0]);
    f->writeDouble(code(49), m_window[1]);
    f->writeDouble(code(140), m_window[2]);
    f->writeDouble(code(141), m_window[3]);
    f->writeDouble(code(142), m_scale[0]);
    f->writeDouble(code(143), m_scale[1]);
    f->writeInt16(code(70), plotLayoutFlags());
    f->writeInt16(code(72), m_paperUnits);
    f->writeInt16(code(73), m_rotation);
    f->writeInt16(code(74), m_plotType);
    f->writeString(code(7), m_styleSheet.c_str());
    f->writeInt16(code(75), m_stdScaleType);
    f->writeInt16(code(76), m_shadeMode);
    f->writeInt16(code(77), m_shadeResolution);
    f->writeInt16(code(78), m_shadeDpi);
    f->writeDouble(code(147), m_scaleFactor);
    f->writeDouble(code(148), 0.0);
    f->writeDouble(code(149), 0.0);
    return f->filerStatus();
}

// ---- Layouts ------------------------------------------------------------------------------------

AcDbLayout::AcDbLayout() = default;
AcDbObjectId AcDbLayout::getBlockTableRecordId() const {
    return AcDbObjectId(m_block);
}
Acad::ErrorStatus AcDbLayout::setBlockTableRecordId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_block = id.stub();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayout::getLayoutName(const ACHAR*& name) const {
    name = m_name.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayout::getLayoutName(AcString& name) const {
    name = m_name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayout::setLayoutName(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!name || !*name)
        return Acad::eInvalidInput;
    m_name = name;
    return Acad::eOk;
}
void AcDbLayout::setTabOrder(int order) {
    if (assertWriteEnabled())
        m_tabOrder = order;
}
void AcDbLayout::setTabSelected(bool selected) {
    if (assertWriteEnabled())
        m_tabSelected = selected;
}
AcGePoint2d AcDbLayout::getLimitsMin() const {
    return AcGePoint2d(m_limits[0], m_limits[1]);
}
AcGePoint2d AcDbLayout::getLimitsMax() const {
    return AcGePoint2d(m_limits[2], m_limits[3]);
}
void AcDbLayout::setLimits(const AcGePoint2d& a, const AcGePoint2d& b) {
    if (!assertWriteEnabled())
        return;
    m_limits[0] = a.x;
    m_limits[1] = a.y;
    m_limits[2] = b.x;
    m_limits[3] = b.y;
}
AcGePoint3d AcDbLayout::getExtentsMin() const {
    return AcGePoint3d(m_extents[0], m_extents[1], m_extents[2]);
}
AcGePoint3d AcDbLayout::getExtentsMax() const {
    return AcGePoint3d(m_extents[3], m_extents[4], m_extents[5]);
}
void AcDbLayout::setExtents(const AcGePoint3d& a, const AcGePoint3d& b) {
    if (!assertWriteEnabled())
        return;
    const double v[6] = {a.x, a.y, a.z, b.x, b.y, b.z};
    for (int i = 0; i < 6; ++i)
        m_extents[i] = v[i];
}
AcGePoint3d AcDbLayout::getInsertionBase() const {
    return AcGePoint3d(m_insertion[0], m_insertion[1], m_insertion[2]);
}
AcDbObjectId AcDbLayout::lastActiveViewportId() const {
    return AcDbObjectId(m_viewport);
}

Acad::ErrorStatus AcDbLayout::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbPlotSettings::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    f->atSubclassData(L"AcDbLayout");
    return readSubclass(f, [&](const resbuf& rb) {
        const double* p = rb.resval.rpoint;
        switch (rb.restype) {
        case 1:
            m_name = rb.resval.rstring;
            break;
        case 71:
            m_tabOrder = rb.resval.rint;
            break;
        case 10:
            m_limits[0] = p[0];
            m_limits[1] = p[1];
            break;
        case 11:
            m_limits[2] = p[0];
            m_limits[3] = p[1];
            break;
        case 12:
            for (int i = 0; i < 3; ++i)
                m_insertion[i] = p[i];
            break;
        case 14:
            for (int i = 0; i < 3; ++i)
                m_extents[i] = p[i];
            break;
        case 15:
            for (int i = 0; i < 3; ++i)
                m_extents[3 + i] = p[i];
            break;
        case 13:
        case 16:
        case 17:
            for (int i = 0; i < 3; ++i)
                m_ucs[(rb.restype == 13 ? 0 : rb.restype == 16 ? 3 : 6) + i] = p[i];
            break;
        case 146:
            m_elevation = rb.resval.rreal;
            break;
        case 76:
            m_ucsOrthoType = rb.resval.rint;
            break;
        case 330:
            m_block = rbId(rb).stub();
            break;
        case 331:
            m_viewport = rbId(rb).stub();
            break;
        default:
            break;
        }
    });
}
Acad::ErrorStatus AcDbLayout::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbPlotSettings::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbLayout");
    f->writeString(code(1), m_name.c_str());
    f->writeInt16(code(70), 1);
    f->writeInt16(code(71), static_cast<Adesk::Int16>(m_tabOrder));
    write2d(f, 10, m_limits[0], m_limits[1]);
    write2d(f, 11, m_limits[2], m_limits[3]);
    f->writePoint3d(code(12), m_insertion);
    f->writePoint3d(code(14), &m_extents[0]);
    f->writePoint3d(code(15), &m_extents[3]);
    f->writeDouble(code(146), m_elevation);
    f->writePoint3d(code(13), &m_ucs[0]);
    f->writePoint3d(code(16), &m_ucs[3]);
    f->writePoint3d(code(17), &m_ucs[6]);
    f->writeInt16(code(76), static_cast<Adesk::Int16>(m_ucsOrthoType));
    f->writeObjectId(AcDb::kDxfSoftPointerId, AcDbObjectId(m_block));
    if (m_viewport)
        f->writeObjectId(code(331), AcDbObjectId(m_viewport));
    return f->filerStatus();
}

// ---- The layout manager -------------------------------------------------------------------------

namespace {
AcDbDatabase* layoutDb(AcDbDatabase* db) {
    return db ? db : acdbHostApplicationServices()->workingDatabase();
}
// The layouts of the dictionary: name key -> (id, tab order).
template <class F> void forEachLayout(AcDbDatabase* db, F f) {
    auto* dict = AcDbDictionary::cast(peekObject(db->layoutDictionaryId()));
    if (!dict)
        return;
    AcDbDictionaryIterator* it = dict->newIterator();
    for (; !it->done(); it->next())
        if (auto* l = AcDbLayout::cast(peekObject(it->objectId())))
            f(it->objectId(), l);
    delete it;
}
} // namespace

AcDbObjectId AcDbLayoutManager::findLayoutNamed(const ACHAR* name, AcDbDatabase* pDb) {
    AcDbDatabase* db = layoutDb(pDb);
    AcDbObjectId found;
    if (!db || !name)
        return found;
    forEachLayout(db, [&](AcDbObjectId id, const AcDbLayout* l) {
        AcString n;
        l->getLayoutName(n);
        if (found.isNull() && nameKey(n.constPtr()) == nameKey(name))
            found = id;
    });
    return found;
}
bool AcDbLayoutManager::layoutExists(const ACHAR* name, AcDbDatabase* pDb) {
    return !findLayoutNamed(name, pDb).isNull();
}
int AcDbLayoutManager::countLayouts(AcDbDatabase* pDb) {
    AcDbDatabase* db = layoutDb(pDb);
    int n = 0;
    if (db)
        forEachLayout(db, [&](AcDbObjectId, const AcDbLayout*) { ++n; });
    return n;
}

Acad::ErrorStatus AcDbLayoutManager::createLayout(const ACHAR* name, AcDbObjectId& layoutId,
                                                  AcDbObjectId& blockId, AcDbDatabase* pDb) {
    layoutId = blockId = AcDbObjectId::kNull;
    AcDbDatabase* db = layoutDb(pDb);
    if (!db)
        return Acad::eNoDatabase;
    if (!isValidSymbolName(name, false))
        return Acad::eInvalidInput;
    if (layoutExists(name, db))
        return Acad::eDuplicateRecordName;
    int lastTab = 0;
    forEachLayout(db, [&](AcDbObjectId, const AcDbLayout* l) {
        lastTab = std::max(lastTab, l->getTabOrder());
    });

    AcDbBlockTable* bt = nullptr;
    Acad::ErrorStatus es = db->getBlockTable(bt, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    std::wstring blockName;
    for (int n = 0;; ++n) {
        blockName = L"*Paper_Space" + std::to_wstring(n);
        if (!bt->has(blockName.c_str()))
            break;
    }
    auto* block = new AcDbBlockTableRecord;
    block->setName(blockName.c_str());
    es = bt->add(blockId, block);
    bt->close();
    if (es != Acad::eOk) {
        delete block;
        return es;
    }
    auto* layout = new AcDbLayout;
    layout->setLayoutName(name);
    layout->setTabOrder(lastTab + 1);
    layout->setBlockTableRecordId(blockId);
    AcDbDictionary* dict = nullptr;
    es = db->getLayoutDictionary(dict, AcDb::kForWrite);
    if (es == Acad::eOk) {
        es = dict->setAt(name, layout, layoutId);
        dict->close();
    }
    if (es != Acad::eOk) {
        delete layout;
        block->erase();
        block->close();
        blockId = AcDbObjectId::kNull;
        return es;
    }
    block->setLayoutId(layoutId);
    block->close();
    layout->close();
    return Acad::eOk;
}

AcDbLayoutManager* acdbLayoutManager() {
    static AcDbLayoutManager manager;
    return &manager;
}
