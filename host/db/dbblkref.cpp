// Block references and multiple block references.
#include "dbent_util.h"

#include "dbents.h"

#include <cmath>
#include <cwchar>

ACRX_DEFINE_MEMBERS_DXF(AcDbBlockReference, AcDbEntity, L"INSERT")
ACRX_DEFINE_MEMBERS_DXF(AcDbMInsertBlock, AcDbBlockReference, L"INSERT")

using namespace khost;

namespace {
AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}
} // namespace

AcDbBlockReference::AcDbBlockReference() = default;
AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : m_block(AcDbBlockTableRecord::cast(peekObject(blockTableRec)) ? blockTableRec.stub()
                                                                    : nullptr),
      m_position(position) {}
AcDbBlockReference::~AcDbBlockReference() = default;

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
    if (!m_block && !m_blockName.empty()) {
        if (AcDbDatabase* db = lookupDatabase(this)) {
            AcDbObjectId id = findRecord(db, DbRole::BlockTable, m_blockName.c_str());
            if (!id.isNull()) {
                m_block = id.stub();
                m_blockName.clear();
            }
        }
    }
    return AcDbObjectId(m_block);
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!AcDbBlockTableRecord::cast(peekObject(id)))
        return Acad::eInvalidInput;
    if (database() && id.database() != database())
        return Acad::eWrongDatabase;
    m_block = id.stub();
    m_blockName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (scale.sx == 0.0 || scale.sy == 0.0 || scale.sz == 0.0)
        return Acad::eInvalidInput;
    m_scale = scale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double angle) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_rotation = normalizeAngle(angle);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
    AcGePoint3d origin;
    if (auto* btr = AcDbBlockTableRecord::cast(peekObject(blockTableRecord())))
        origin = btr->origin();
    AcGeMatrix3d m = AcGeMatrix3d::translation(m_position.asVector());
    if (!isWorldZ(m_normal))
        m *= AcGeMatrix3d::planeToWorld(m_normal);
    if (m_rotation != 0.0)
        m *= AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis);
    m *= AcGeMatrix3d::scaling(m_scale);
    if (origin.x != 0.0 || origin.y != 0.0 || origin.z != 0.0)
        m *= AcGeMatrix3d::translation(-origin.asVector());
    return m;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcGeVector3d c0 = xform * AcGeVector3d(1.0, 0.0, 0.0);
    AcGeVector3d c1 = xform * AcGeVector3d(0.0, 1.0, 0.0);
    AcGeVector3d c2 = xform * AcGeVector3d(0.0, 0.0, 1.0);
    if (c0.isZeroLength() || c1.isZeroLength() || c2.isZeroLength())
        return Acad::eInvalidInput;
    AcGeVector3d n = c2.normal();
    const double tol = 1e-9;
    if (std::fabs(c0.normal().dotProduct(n)) > tol || std::fabs(c1.normal().dotProduct(n)) > tol ||
        std::fabs(c0.normal().dotProduct(c1.normal())) > tol)
        return Acad::eInvalidInput;
    // Keep the world Z exact.
    if (std::fabs(n.x) < 1e-14 && std::fabs(n.y) < 1e-14)
        n = AcGeVector3d(0.0, 0.0, n.z > 0.0 ? 1.0 : -1.0);
    const bool mirrored = c0.crossProduct(c1).dotProduct(n) < 0.0;
    AcGeVector3d xdir = mirrored ? -c0.normal() : c0.normal();
    AcGePoint3d origin;
    if (auto* btr = AcDbBlockTableRecord::cast(peekObject(blockTableRecord())))
        origin = btr->origin();
    m_position = xform * origin;
    m_normal = n;
    m_rotation = ocsAngle(n, xdir);
    m_scale = AcGeScale3d(mirrored ? -c0.length() : c0.length(),
                          c1.dotProduct(n.crossProduct(xdir)), c2.length());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* pAttr) {
    AcDbObjectId id;
    return appendAttribute(id, pAttr);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& attId, AcDbAttribute* pAttr) {
    attId = AcDbObjectId::kNull;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return m_attributes.add(this, pAttr, attId);
}

Acad::ErrorStatus AcDbBlockReference::openAttribute(AcDbAttribute*& pAttr, AcDbObjectId attId,
                                                    AcDb::OpenMode mode, bool openErasedOne) {
    pAttr = nullptr;
    if (m_attributes.indexOf(attId) < 0)
        return Acad::eInvalidInput;
    return acdbOpenObject(pAttr, attId, mode, openErasedOne);
}

Acad::ErrorStatus AcDbBlockReference::openSequenceEnd(AcDbSequenceEnd*& pSeqEnd,
                                                      AcDb::OpenMode mode) {
    pSeqEnd = nullptr;
    if (!m_attributes.hasEnd())
        return Acad::eNotApplicable;
    return acdbOpenObject(pSeqEnd, m_attributes.endId(), mode);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
    return m_attributes.newIterator();
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    std::vector<AcDbEntity*> attrs = m_attributes.entities(true);
    for (AcDbEntity* a : attrs)
        if (DbAccess::mode(a) == kRead)
            return Acad::eWasOpenForRead;
    AcGeMatrix3d m = xform * blockTransform();
    Acad::ErrorStatus es = setBlockTransform(m);
    if (es != Acad::eOk)
        return es;
    for (AcDbEntity* a : attrs) {
        const bool closed = DbAccess::mode(a) == kClosed;
        if (closed)
            DbAccess::forceOpenWrite(a);
        a->transformBy(xform);
        if (closed)
            DbAccess::forceClose(a);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::subErase(bool erasing) {
    m_attributes.setErased(erasing);
    return Acad::eOk;
}

void AcDbBlockReference::subAddedToDatabase() {
    m_attributes.ownerAdded(this);
}

bool AcDbBlockReference::readReferenceGroup(AcDbDxfFiler* f, const resbuf& rb) {
    switch (rb.restype) {
    case 66:
        return true; // the attributes say so themselves
    case 2: {
        std::wstring name = rb.resval.rstring ? rb.resval.rstring : L"";
        AcDbDatabase* db = filerDatabase(f, this);
        AcDbObjectId id = db ? findRecord(db, DbRole::BlockTable, name.c_str()) : AcDbObjectId();
        m_block = id.stub();
        m_blockName = id.isNull() ? name : std::wstring();
        return true;
    }
    case 10:
        m_position = rbPoint(rb);
        return true;
    case 41:
        m_scale.sx = rb.resval.rreal;
        return true;
    case 42:
        m_scale.sy = rb.resval.rreal;
        return true;
    case 43:
        m_scale.sz = rb.resval.rreal;
        return true;
    case 50:
        m_rotation = normalizeAngle(readAngleGroup(f, rb.resval.rreal));
        return true;
    case 210:
        if (!rbVector(rb).isZeroLength())
            m_normal = rbVector(rb).normal();
        return true;
    case 70:
        m_columns = static_cast<Adesk::UInt16>(rb.resval.rint > 0 ? rb.resval.rint : 1);
        m_hasArray = true;
        return true;
    case 71:
        m_rows = static_cast<Adesk::UInt16>(rb.resval.rint > 0 ? rb.resval.rint : 1);
        m_hasArray = true;
        return true;
    case 44:
        m_colSpacing = rb.resval.rreal;
        m_hasArray = true;
        return true;
    case 45:
        m_rowSpacing = rb.resval.rreal;
        m_hasArray = true;
        return true;
    default:
        return false;
    }
}

Acad::ErrorStatus AcDbBlockReference::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    m_position = wcsToOcs(m_normal, m_position);
    m_hasArray = AcDbMInsertBlock::cast(this) != nullptr;
    bool follow = false;
    // A reference and a multiple reference read each other's records.
    readSubclasses(f, {L"AcDbBlockReference", L"AcDbMInsertBlock"}, [&](const resbuf& rb) {
        if (rb.restype == AcDb::kDxfHasSubentities)
            follow = rb.resval.rint != 0;
        readReferenceGroup(f, rb);
    });
    m_position = ocsToWcs(m_normal, m_position);
    if (isFileFiler(f))
        noteComplexRead(this, follow);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, m_hasArray ? L"AcDbMInsertBlock" : L"AcDbBlockReference");
    if (m_attributes.count() > 0 || m_attributes.hasEnd())
        f->writeInt16(AcDb::kDxfHasSubentities, 1);
    std::wstring name = recordNameOf(blockTableRecord());
    if (name.empty())
        name = m_blockName;
    f->writeString(AcDb::kDxfBlockName, name.c_str());
    f->writePoint3d(AcDb::kDxfXCoord, wcsToOcs(m_normal, m_position));
    if (m_scale.sx != 1.0)
        f->writeDouble(code(41), m_scale.sx);
    if (m_scale.sy != 1.0)
        f->writeDouble(code(42), m_scale.sy);
    if (m_scale.sz != 1.0)
        f->writeDouble(code(43), m_scale.sz);
    if (m_rotation != 0.0)
        writeAngleGroup(f, 50, m_rotation);
    if (m_hasArray) {
        f->writeInt16(AcDb::kDxfInt16, static_cast<Adesk::Int16>(m_columns));
        f->writeInt16(code(71), static_cast<Adesk::Int16>(m_rows));
        f->writeDouble(code(44), m_colSpacing);
        f->writeDouble(code(45), m_rowSpacing);
    }
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return f->filerStatus();
}

// ---- AcDbMInsertBlock ---------------------------------------------------------------------------

AcDbMInsertBlock::AcDbMInsertBlock() {
    m_hasArray = true;
}
AcDbMInsertBlock::AcDbMInsertBlock(const AcGePoint3d& position, AcDbObjectId blockTableRec,
                                   Adesk::UInt16 columns, Adesk::UInt16 rows, double colSpacing,
                                   double rowSpacing)
    : AcDbBlockReference(position, blockTableRec) {
    m_hasArray = true;
    m_columns = columns ? columns : 1;
    m_rows = rows ? rows : 1;
    m_colSpacing = colSpacing;
    m_rowSpacing = rowSpacing;
}

Acad::ErrorStatus AcDbMInsertBlock::setColumns(Adesk::UInt16 n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n == 0)
        return Acad::eInvalidInput;
    m_columns = n;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMInsertBlock::setRows(Adesk::UInt16 n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n == 0)
        return Acad::eInvalidInput;
    m_rows = n;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMInsertBlock::setColumnSpacing(double d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_colSpacing = d;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMInsertBlock::setRowSpacing(double d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_rowSpacing = d;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMInsertBlock::transformBy(const AcGeMatrix3d& xform) {
    AcGeVector3d x = ocsDirection(normal(), rotation());
    AcGeVector3d y = normal().crossProduct(x);
    Acad::ErrorStatus es = AcDbBlockReference::transformBy(xform);
    if (es != Acad::eOk)
        return es;
    m_colSpacing *= (xform * x).length();
    m_rowSpacing *= (xform * y).length();
    return Acad::eOk;
}
