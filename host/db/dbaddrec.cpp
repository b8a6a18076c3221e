#include "dbaddrec.h"

#include "dbimpl.h"

namespace khost {

Acad::ErrorStatus addRecordUnopened(AcDbDatabase* db, DbRole table, AcDbSymbolTableRecord* rec,
                                    const ACHAR* name, AcDbObjectId& id) {
    id = AcDbObjectId::kNull;
    auto* t = AcDbSymbolTable::cast(stubObject(db ? db->impl().role(table) : nullptr));
    if (!t || !rec)
        return Acad::eNullObjectPointer;
    if (!isValidSymbolName(name))
        return Acad::eInvalidSymbolTableName;
    if (t->has(name))
        return Acad::eDuplicateRecordName;
    Acad::ErrorStatus es = db->addAcDbObject(id, rec);
    if (es != Acad::eOk)
        return es;
    setRecordNameRaw(rec, name);
    DbAccess::setOwner(rec, DbAccess::stub(t));
    return linkRecord(t, id);
}

AcDbObjectId ensureRegApp(AcDbDatabase* db, const ACHAR* name) {
    AcDbObjectId id = findRecord(db, DbRole::RegAppTable, name);
    if (!id.isNull())
        return id;
    auto* rec = new AcDbRegAppTableRecord;
    if (addRecordUnopened(db, DbRole::RegAppTable, rec, name, id) != Acad::eOk) {
        delete rec;
        return AcDbObjectId::kNull;
    }
    rec->close();
    return id;
}

} // namespace khost
