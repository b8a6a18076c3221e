// Objects and entities the host does not model: kept as their DXF class name and the groups
// that follow the common fields, so that a drawing read and written again loses nothing.
#pragma once

#include "dbmain.h"

#include <string>

class AcDbRawObject : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbRawObject);
    AcDbRawObject();
    AcDbRawObject(const ACHAR* dxfName, const ACHAR* className = L"");
    ~AcDbRawObject() override;

    // The DXF type name ("MLEADERSTYLE") and the C++ class name of the CLASSES section.
    const ACHAR* dxfName() const { return m_dxfName.c_str(); }
    const ACHAR* className() const { return m_className.c_str(); }
    Acad::ErrorStatus setNames(const ACHAR* dxfName, const ACHAR* className);
    // The groups after the object's common fields; rawData gives the stored chain (not a copy).
    const resbuf* rawData() const { return m_data; }
    Acad::ErrorStatus setRawData(const resbuf* chain);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_dxfName, m_className;
    resbuf* m_data = nullptr;
};

class AcDbRawEntity : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbRawEntity);
    AcDbRawEntity();
    AcDbRawEntity(const ACHAR* dxfName, const ACHAR* className = L"");
    ~AcDbRawEntity() override;

    const ACHAR* dxfName() const { return m_dxfName.c_str(); }
    const ACHAR* className() const { return m_className.c_str(); }
    Acad::ErrorStatus setNames(const ACHAR* dxfName, const ACHAR* className);
    // The groups after the common entity fields (from the first subclass marker after
    // AcDbEntity's on).
    const resbuf* rawData() const { return m_data; }
    Acad::ErrorStatus setRawData(const resbuf* chain);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_dxfName, m_className;
    resbuf* m_data = nullptr;
};

// The DXF type name of any object: its class's DXF name, or the stored one of a raw object.
const ACHAR* khostDxfName(const AcDbObject* pObj);
