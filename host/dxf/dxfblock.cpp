#include "dxfblock.h"

#include "acutads.h"

#include <cstdlib>

ACRX_DEFINE_MEMBERS_DXF(AcDbBlockBegin, AcDbObject, L"BLOCK")
ACRX_DEFINE_MEMBERS_DXF(AcDbBlockEnd, AcDbBlockBegin, L"ENDBLK")

AcDbBlockBegin::AcDbBlockBegin() {
    m_entity = acutBuildList(8, L"0", 0);
}

AcDbBlockBegin::~AcDbBlockBegin() {
    acutRelRb(m_entity);
}

void AcDbBlockBegin::setEntityData(resbuf* chain) {
    acutRelRb(m_entity);
    m_entity = chain;
}

Acad::ErrorStatus AcDbBlockBegin::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    resbuf rb{};
    while (f->readResBuf(&rb) == Acad::eOk) {
        // The block's own groups (name, flags, origin, path, description) belong to its record.
        switch (rb.restype) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 10:
        case 70:
        case 100:
            khost::rbFreeValue(&rb);
            continue;
        default:
            break;
        }
        auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
        *node = rb;
        node->rbnext = nullptr;
        (tail ? tail->rbnext : head) = node;
        tail = node;
        rb = resbuf{};
    }
    if (head)
        setEntityData(head);
    return f->filerStatus();
}

Acad::ErrorStatus AcDbBlockBegin::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbEntity");
    for (const resbuf* rb = m_entity; rb; rb = rb->rbnext)
        f->writeResBuf(*rb);
    f->writeString(AcDb::kDxfSubclass, subclassName());
    return f->filerStatus();
}
