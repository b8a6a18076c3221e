// The UCS command: origin, rotation about Z, World, and named UCSs in the UCS table.
#include "educs.h"

#include "accmd.h"
#include "acedads.h"
#include "arxdb.h"
#include "dbhost.h"
#include "edhost.h"
#include "edinternal.h"
#include "rxregsvc.h"

#include <cmath>
#include <numbers>
#include <string>

namespace khost {
namespace {

struct Ucs {
    AcGePoint3d origin;
    AcGeVector3d x, y;
};

bool paperSpaceUcs(AcDbDatabase* db) {
    return !db->tilemode() && currentSession().paperCvport == 1;
}

Ucs currentUcs(AcDbDatabase* db) {
    bool paper = paperSpaceUcs(db);
    return {paper ? db->pucsorg() : db->ucsorg(), paper ? db->pucsxdir() : db->ucsxdir(),
            paper ? db->pucsydir() : db->ucsydir()};
}

void setUcs(AcDbDatabase* db, const Ucs& u, AcDbObjectId name = AcDbObjectId::kNull) {
    setCurrentUcs(db, u.origin, u.x.normal(), u.y.normal(), paperSpaceUcs(db), name);
}

bool askName(const wchar_t* prompt, std::wstring& name) {
    ACHAR buf[256];
    if (acedGetString(0, prompt, buf) != RTNORM)
        return false;
    name = buf;
    if (name.empty())
        return false;
    return true;
}

AcDbObjectId findUcs(AcDbDatabase* db, const std::wstring& name) {
    AcDbUCSTable* table = nullptr;
    if (db->getUCSTable(table, AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (table->getAt(name.c_str(), id) != Acad::eOk)
        id = AcDbObjectId::kNull;
    table->close();
    return id;
}

void save(AcDbDatabase* db) {
    std::wstring name;
    if (!askName(L"\nEnter name to save current UCS: ", name))
        return;
    Ucs u = currentUcs(db);
    AcDbUCSTable* table = nullptr;
    if (db->getUCSTable(table, AcDb::kForWrite) != Acad::eOk)
        return;
    AcDbUCSTableRecord* rec = nullptr;
    AcDbObjectId id;
    if (table->getAt(name.c_str(), rec, AcDb::kForWrite) == Acad::eOk) {
        id = rec->objectId();
    } else {
        rec = new AcDbUCSTableRecord();
        if (rec->setName(name.c_str()) != Acad::eOk || table->add(id, rec) != Acad::eOk) {
            delete rec;
            table->close();
            printHostMessage(L"Invalid UCS name.");
            return;
        }
    }
    rec->setOrigin(u.origin);
    rec->setXAxis(u.x);
    rec->setYAxis(u.y);
    rec->close();
    table->close();
    setUcs(db, u, id);
}

void restore(AcDbDatabase* db) {
    std::wstring name;
    if (!askName(L"\nEnter name of UCS to restore: ", name))
        return;
    AcDbObjectId id = findUcs(db, name);
    if (id.isNull()) {
        printHostMessage(L"Cannot find UCS " + name + L".");
        return;
    }
    if (paperSpaceUcs(db))
        db->setPucsname(id);
    else
        db->setUcsname(id);
}

void remove(AcDbDatabase* db) {
    std::wstring name;
    if (!askName(L"\nEnter UCS name to delete: ", name))
        return;
    AcDbObjectId id = findUcs(db, name);
    AcDbUCSTableRecord* rec = nullptr;
    if (id.isNull() || acdbOpenObject(rec, id, AcDb::kForWrite) != Acad::eOk) {
        printHostMessage(L"Cannot find UCS " + name + L".");
        return;
    }
    rec->erase();
    rec->close();
    AcDbObjectId current = paperSpaceUcs(db) ? db->pucsname() : db->ucsname();
    if (current == id)
        setUcs(db, currentUcs(db));
}

void rotate(AcDbDatabase* db) {
    ads_real deg = 90.0;
    int rc = acedGetReal(L"\nSpecify rotation angle about Z axis <90>: ", &deg);
    if (rc == RTNONE)
        deg = 90.0;
    else if (rc != RTNORM)
        return;
    Ucs u = currentUcs(db);
    AcGeVector3d z = u.x.crossProduct(u.y).normal();
    double a = deg * std::numbers::pi / 180.0;
    u.x = u.x.rotateBy(a, z);
    u.y = u.y.rotateBy(a, z);
    setUcs(db, u);
}

void moveOrigin(AcDbDatabase* db, const ads_point ptUcs) {
    ads_point w;
    ucsToWcs(ptUcs, w);
    Ucs u = currentUcs(db);
    AcGeVector3d z = u.x.crossProduct(u.y).normal();
    ads_point q;
    int rc = acedGetPoint(ptUcs, L"\nSpecify point on X-axis or <Accept>: ", q);
    if (rc == RTCAN)
        return;
    u.origin = AcGePoint3d(w[X], w[Y], w[Z]);
    if (rc == RTNORM) {
        ads_point qw;
        ucsToWcs(q, qw);
        AcGeVector3d x = AcGePoint3d(qw[X], qw[Y], qw[Z]) - u.origin;
        x -= z * x.dotProduct(z); // kept in the XY plane of the UCS
        if (x.length() > 1e-12) {
            u.x = x.normal();
            u.y = z.crossProduct(u.x).normal();
        }
    }
    setUcs(db, u);
}

} // namespace

void cmdUcs() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db)
        return;
    acedInitGet(0, L"Z World Save Restore Delete");
    ads_point pt;
    int rc = acedGetPoint(
        nullptr, L"\nSpecify origin of UCS or [Z/World/Save/Restore/Delete] <World>: ", pt);
    if (rc == RTNORM) {
        moveOrigin(db, pt);
        return;
    }
    if (rc == RTNONE) {
        setUcs(db, {AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis});
        return;
    }
    if (rc != RTKWORD)
        return;
    ACHAR kw[32];
    if (acedGetInput(kw) != RTNORM)
        return;
    std::wstring k = kw;
    if (k == L"Z")
        rotate(db);
    else if (k == L"World")
        setUcs(db, {AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis});
    else if (k == L"Save")
        save(db);
    else if (k == L"Restore")
        restore(db);
    else if (k == L"Delete")
        remove(db);
}

void registerUcsCommand() {
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    if (!stack || stack->lookupGlobalCmd(L"UCS"))
        return;
    stack->addCommand(L"ACAD_MAIN", L"UCS", L"UCS", ACRX_CMD_MODAL, cmdUcs);
}

} // namespace khost
