// The DXF filer: the one interface through which an object's persistent fields are written and
// read as group codes. Each class writes its own fields in dxfOutFields (after its parent's) and
// reads them in dxfInFields; the concrete filers (the DXF file reader and writer of host/dxf, the
// result-buffer filer used by entget/entmake and by cloning) implement readResBuf, writeResBuf and
// pushBackItem.
#pragma once

#include "acdb.h"
#include "dbid.h"

class AcGePoint2d;
class AcGeVector2d;
class AcGePoint3d;
class AcGeVector3d;
class AcGeScale3d;

class AcDbDxfFiler : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDxfFiler);
    enum { kDfltPrec = -1, kMaxPrec = 16 };

    virtual AcDb::FilerType filerType() const = 0;
    virtual AcDbDatabase* database() const = 0;
    virtual Acad::ErrorStatus filerStatus() const { return m_status; }
    virtual void resetFilerStatus() { m_status = Acad::eOk; }
    void setFilerStatus(Acad::ErrorStatus es) { m_status = es; }

    // Reading: the next group into *pRb (a string or binary value is allocated and belongs to
    // the caller, to be freed with khost::rbFreeValue). eEndOfObject at the end of the object.
    virtual Acad::ErrorStatus readResBuf(resbuf* pRb) = 0;
    Acad::ErrorStatus readItem(resbuf* pRb) { return readResBuf(pRb); }
    // The group last read is read again by the next readResBuf.
    virtual Acad::ErrorStatus pushBackItem() = 0;
    virtual bool atEOF() = 0;
    // True (and the group consumed) when the next group is 100 with this subclass name.
    virtual bool atSubclassData(const ACHAR* subClassName);
    // True when the next group starts the extended data (1001) or the end of the object.
    virtual bool atExtendedData();
    virtual bool atEndOfObject();

    // Writing.
    virtual Acad::ErrorStatus writeResBuf(const resbuf& rb) = 0;
    Acad::ErrorStatus writeItem(const resbuf& rb) { return writeResBuf(rb); }
    Acad::ErrorStatus writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id);
    Acad::ErrorStatus writeString(AcDb::DxfCode code, const ACHAR* s);
    Acad::ErrorStatus writeBool(AcDb::DxfCode code, bool v);
    Acad::ErrorStatus writeInt8(AcDb::DxfCode code, Adesk::Int8 v);
    Acad::ErrorStatus writeInt16(AcDb::DxfCode code, Adesk::Int16 v);
    Acad::ErrorStatus writeInt32(AcDb::DxfCode code, Adesk::Int32 v);
    Acad::ErrorStatus writeInt64(AcDb::DxfCode code, Adesk::Int64 v);
    Acad::ErrorStatus writeUInt8(AcDb::DxfCode code, Adesk::UInt8 v) {
        return writeInt16(code, static_cast<Adesk::Int16>(v));
    }
    Acad::ErrorStatus writeUInt16(AcDb::DxfCode code, Adesk::UInt16 v) {
        return writeInt32(code, v);
    }
    Acad::ErrorStatus writeUInt32(AcDb::DxfCode code, Adesk::UInt32 v) {
        return writeInt32(code, static_cast<Adesk::Int32>(v));
    }
    Acad::ErrorStatus writeHandle(AcDb::DxfCode code, const AcDbHandle& h);
    Acad::ErrorStatus writeDouble(AcDb::DxfCode code, double v, int prec = kDfltPrec);
    Acad::ErrorStatus writeAngle(AcDb::DxfCode code, double v, int prec = kDfltPrec) {
        return writeDouble(code, v, prec);
    }
    Acad::ErrorStatus writePoint3d(AcDb::DxfCode code, const AcGePoint3d& p, int prec = kDfltPrec);
    Acad::ErrorStatus writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v,
                                    int prec = kDfltPrec);
    Acad::ErrorStatus writePoint3d(AcDb::DxfCode code, const double p[3], int prec = kDfltPrec);
    // A 2D point or vector: a point group whose Z is -0.0, which the DXF file filer writes
    // without its Z group (a result-buffer chain keeps the -0.0; khost::rbIs2d tells it).
    Acad::ErrorStatus writePoint2d(AcDb::DxfCode code, const AcGePoint2d& p, int prec = kDfltPrec);
    Acad::ErrorStatus writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v,
                                    int prec = kDfltPrec);
    Acad::ErrorStatus writeBinaryChunk(AcDb::DxfCode code, const char* data, short len);
    Acad::ErrorStatus writeEmbeddedObjectStart();

private:
    Acad::ErrorStatus m_status = Acad::eOk;
};
