// The contents of a new drawing.
#include "dbimpl.h"

#include "dbannoscale.h"
#include "dblayout.h"
#include "dbmleaderstyle.h"
#include "dbraw.h"
#include "dbtablestyle.h"

namespace khost {

namespace {

struct Builder {
    AcDbDatabase* db;

    DbStub* add(AcDbObject* o, DbStub* owner) {
        AcDbObjectId id;
        db->addAcDbObject(id, o);
        DbAccess::setOwner(o, owner);
        DbAccess::forceClose(o);
        return id.stub();
    }
    DbStub* table(AcDbSymbolTable* t, DbRole role) {
        DbStub* s = add(t, nullptr);
        db->impl().roles[static_cast<int>(role)] = s;
        return s;
    }
    DbStub* record(DbRole table, AcDbSymbolTableRecord* r, const ACHAR* name) {
        r->setName(name);
        auto* t = static_cast<AcDbSymbolTable*>(db->impl().role(table)->object);
        DbStub* s = add(r, DbAccess::stub(t));
        linkRecord(t, AcDbObjectId(s));
        return s;
    }
    DbStub* entry(DbStub* dict, const ACHAR* key, AcDbObject* o) {
        DbStub* s = add(o, dict);
        linkEntry(static_cast<AcDbDictionary*>(dict->object), key, AcDbObjectId(s));
        return s;
    }
};

} // namespace

void buildDefaultDrawing(AcDbDatabase* db) {
    Builder b{db};
    DbImpl& im = db->impl();
    b.table(new AcDbBlockTable, DbRole::BlockTable);
    b.table(new AcDbLayerTable, DbRole::LayerTable);
    b.table(new AcDbTextStyleTable, DbRole::TextStyleTable);
    b.table(new AcDbLinetypeTable, DbRole::LinetypeTable);
    b.table(new AcDbViewTable, DbRole::ViewTable);
    b.table(new AcDbUCSTable, DbRole::UCSTable);
    b.table(new AcDbViewportTable, DbRole::ViewportTable);
    b.table(new AcDbRegAppTable, DbRole::RegAppTable);
    b.table(new AcDbDimStyleTable, DbRole::DimStyleTable);

    DbStub* nod = b.add(new AcDbDictionary, nullptr);
    im.roles[static_cast<int>(DbRole::NamedObjects)] = nod;
    auto dict = [&](DbRole role, const ACHAR* key, AcDbDictionary* d = nullptr) {
        DbStub* s = b.entry(nod, key, d ? d : new AcDbDictionary);
        im.roles[static_cast<int>(role)] = s;
        return s;
    };
    DbStub* groups = dict(DbRole::GroupDict, ACDB_GROUP_DICTIONARY);
    (void)groups;
    DbStub* layouts = dict(DbRole::LayoutDict, ACDB_LAYOUT_DICTIONARY);
    DbStub* mleaderStyles = dict(DbRole::MLeaderStyleDict, ACDB_MLEADERSTYLE_DICTIONARY);
    DbStub* tableStyles = dict(DbRole::TableStyleDict, ACDB_TABLESTYLE_DICTIONARY);
    dict(DbRole::PlotSettingsDict, ACDB_PLOTSETTINGS_DICTIONARY);
    DbStub* plotStyles = dict(DbRole::PlotStyleNameDict, ACDB_PLOTSTYLENAME_DICTIONARY,
                              new AcDbDictionaryWithDefault);
    dict(DbRole::MaterialDict, ACDB_MATERIAL_DICTIONARY);
    dict(DbRole::ColorDict, ACDB_COLOR_DICTIONARY);
    DbStub* mlineStyles = dict(DbRole::MLStyleDict, ACDB_MLINESTYLE_DICTIONARY);
    dict(DbRole::ScaleListDict, ACDB_SCALE_LIST_DICTIONARY);

    // Linetypes.
    auto* byBlock = new AcDbLinetypeTableRecord;
    auto* byLayer = new AcDbLinetypeTableRecord;
    auto* continuous = new AcDbLinetypeTableRecord;
    continuous->setComments(L"Solid line");
    im.roles[static_cast<int>(DbRole::LinetypeByBlock)] =
        b.record(DbRole::LinetypeTable, byBlock, L"ByBlock");
    im.roles[static_cast<int>(DbRole::LinetypeByLayer)] =
        b.record(DbRole::LinetypeTable, byLayer, L"ByLayer");
    im.roles[static_cast<int>(DbRole::LinetypeContinuous)] =
        b.record(DbRole::LinetypeTable, continuous, L"Continuous");

    // Layer 0.
    auto* layer0 = new AcDbLayerTableRecord;
    AcCmColor white;
    white.setColorIndex(7);
    layer0->setColor(white);
    layer0->setLinetypeObjectId(AcDbObjectId(im.role(DbRole::LinetypeContinuous)));
    im.roles[static_cast<int>(DbRole::LayerZero)] = b.record(DbRole::LayerTable, layer0, L"0");

    // Blocks and layouts.
    DbStub* ms = b.record(DbRole::BlockTable, new AcDbBlockTableRecord, ACDB_MODEL_SPACE);
    DbStub* ps = b.record(DbRole::BlockTable, new AcDbBlockTableRecord, ACDB_PAPER_SPACE);
    im.roles[static_cast<int>(DbRole::ModelSpace)] = ms;
    im.roles[static_cast<int>(DbRole::PaperSpace)] = ps;
    auto layout = [&](DbStub* block, const ACHAR* name, int tab) {
        auto* l = new AcDbLayout;
        l->setLayoutName(name);
        l->setTabOrder(tab);
        l->setModelType(tab == 0);
        l->setBlockTableRecordId(AcDbObjectId(block));
        DbStub* s = b.entry(layouts, name, l);
        DbAccess::layout(static_cast<AcDbBlockTableRecord*>(block->object)) = s;
    };
    layout(ms, L"Model", 0);
    layout(ps, L"Layout1", 1);

    // Styles.
    auto* standardText = new AcDbTextStyleTableRecord;
    standardText->setFileName(L"arial.ttf");
    standardText->setXScale(1.0);
    DbStub* standard = b.record(DbRole::TextStyleTable, standardText, L"Standard");
    DbStub* dimStandard = b.record(DbRole::DimStyleTable, new AcDbDimStyleTableRecord, L"Standard");
    b.record(DbRole::RegAppTable, new AcDbRegAppTableRecord, L"ACAD");
    b.record(DbRole::ViewportTable, new AcDbViewportTableRecord, L"*Active");

    auto* mleaderStyle = new AcDbMLeaderStyle;
    mleaderStyle->setTextStyleId(AcDbObjectId(standard));
    DbStub* mleaderStandard = b.entry(mleaderStyles, L"Standard", mleaderStyle);
    auto* tableStyle = new AcDbTableStyle;
    tableStyle->setName(L"Standard");
    tableStyle->setTextStyle(AcDbObjectId(standard));
    DbStub* tableStandard = b.entry(tableStyles, L"Standard", tableStyle);
    auto* mlineStyle = new AcDbMlineStyle;
    mlineStyle->setName(L"Standard");
    mlineStyle->initMlineStyle();
    DbStub* mlineStandard = b.entry(mlineStyles, L"Standard", mlineStyle);
    DbStub* normal =
        b.entry(plotStyles, L"Normal", new AcDbRawObject(L"ACDBPLACEHOLDER", L"AcDbPlaceHolder"));
    DbAccess::forceOpenWrite(plotStyles->object);
    static_cast<AcDbDictionaryWithDefault*>(plotStyles->object)->setDefaultId(AcDbObjectId(normal));
    DbAccess::forceClose(plotStyles->object);

    DbHeader& h = im.header;
    h.clayer = im.role(DbRole::LayerZero);
    h.celtype = im.role(DbRole::LinetypeByLayer);
    h.textstyle = standard;
    h.dimstyle = dimStandard;
    h.mleaderstyle = mleaderStandard;
    h.tablestyle = tableStandard;
    h.cmlstyle = mlineStandard;
    h.currentSpace = ms;

    buildDefaultScaleList(db);
}

} // namespace khost
