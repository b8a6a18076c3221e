#include "dxflayerdesc.h"

#include "acutads.h"
#include "dbhost.h"
#include "dbsymtb.h"

#include <cwchar>

namespace khost::dxf {

const wchar_t* const kLayerDescriptionApp = L"AcAecLayerStandard";

namespace {

bool isApp(const resbuf* rb, const wchar_t* app) {
    return rb && rb->restype == 1001 && rb->resval.rstring &&
           std::wcscmp(rb->resval.rstring, app) == 0;
}

// Unlinks the part of an application from a chain and returns it (null when absent).
resbuf* cutApp(resbuf*& chain, const wchar_t* app) {
    resbuf** link = &chain;
    while (*link && !isApp(*link, app))
        link = &(*link)->rbnext;
    if (!*link)
        return nullptr;
    resbuf* part = *link;
    resbuf* last = part;
    while (last->rbnext && last->rbnext->restype != 1001)
        last = last->rbnext;
    *link = last->rbnext;
    last->rbnext = nullptr;
    return part;
}

std::wstring description(const AcDbLayerTableRecord* layer) {
    AcString s;
    layer->description(s);
    return s.constPtr() ? std::wstring(s.constPtr()) : std::wstring();
}

} // namespace

resbuf* xdataForFile(const AcDbObject* obj) {
    resbuf* chain = obj->xData();
    auto* layer = AcDbLayerTableRecord::cast(obj);
    if (!layer)
        return chain;
    std::wstring d = description(layer);
    if (d.empty())
        return chain;
    acutRelRb(cutApp(chain, kLayerDescriptionApp));
    resbuf* part = acutBuildList(1001, kLayerDescriptionApp, 1000, L"", 1000, d.c_str(), 0);
    resbuf** tail = &chain;
    while (*tail)
        tail = &(*tail)->rbnext;
    *tail = part;
    return chain;
}

std::wstring takeLayerDescription(resbuf*& chain) {
    resbuf* part = cutApp(chain, kLayerDescriptionApp);
    std::wstring d;
    int strings = 0;
    for (const resbuf* rb = part; rb; rb = rb->rbnext)
        if (rb->restype == 1000 && ++strings == 2 && rb->resval.rstring)
            d = rb->resval.rstring;
    acutRelRb(part);
    return d;
}

void registerLayerDescriptionApp(AcDbDatabase* db) {
    auto* layers = AcDbLayerTable::cast(peekObject(db->layerTableId()));
    if (!layers)
        return;
    bool needed = false;
    AcDbLayerTableIterator* it = nullptr;
    if (layers->newIterator(it) == Acad::eOk) {
        for (; !it->done() && !needed; it->step()) {
            AcDbObjectId id;
            it->getRecordId(id);
            auto* layer = AcDbLayerTableRecord::cast(peekObject(id));
            needed = layer && !description(layer).empty();
        }
        delete it;
    }
    auto* apps = AcDbRegAppTable::cast(peekObject(db->regAppTableId()));
    if (!needed || !apps || apps->has(kLayerDescriptionApp))
        return;
    AcDbRegAppTable* table = nullptr;
    if (db->getRegAppTable(table, AcDb::kForWrite) != Acad::eOk)
        return;
    auto* rec = new AcDbRegAppTableRecord();
    if (rec->setName(kLayerDescriptionApp) == Acad::eOk && table->add(rec) == Acad::eOk)
        rec->close();
    else
        delete rec;
    table->close();
}

} // namespace khost::dxf
