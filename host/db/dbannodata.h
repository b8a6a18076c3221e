// The persistent objects behind annotation scales (host-internal): the SCALE objects of the
// drawing's scale list and the context data objects of annotative entities.
#pragma once

#include "dbannoscale.h"
#include "dbmain.h"

#include <string>

class AcDbDictionary;

// One annotation scale of the list: DXF "SCALE", subclass AcDbScale (70 flags, 300 name,
// 140 paper units, 141 drawing units, 290 unit scale).
class AcDbScale : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbScale);
    AcDbScale();

    const ACHAR* scaleName() const { return m_name.c_str(); }
    Acad::ErrorStatus setScaleName(const ACHAR* name);
    double paperUnits() const { return m_paper; }
    double drawingUnits() const { return m_drawing; }
    Acad::ErrorStatus setUnits(double paper, double drawing);
    bool isUnitScale() const { return m_unit; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_name;
    double m_paper = 1.0;
    double m_drawing = 1.0;
    bool m_unit = false;
    Adesk::Int16 m_flags = 0;
};

// The data of one object for one context: subclass AcDbObjectContextData (70 version,
// 290 default flag).
class AcDbObjectContextData : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectContextData);
    AcDbObjectContextData();
    bool isDefaultContextData() const { return m_default; }
    Acad::ErrorStatus setIsDefault(bool bDefault);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    Adesk::Int16 m_version = 3;
    bool m_default = false;
};

// The data of one annotative object at one annotation scale: subclass
// AcDbAnnotScaleObjectContextData (340 the SCALE object), then the groups of the kind's own
// subclass (kept as they are: position, rotation, scale of the object at that scale).
class AcDbAnnotScaleObjectContextData : public AcDbObjectContextData {
public:
    ACRX_DECLARE_MEMBERS(AcDbAnnotScaleObjectContextData);
    AcDbAnnotScaleObjectContextData();
    ~AcDbAnnotScaleObjectContextData() override;

    AcDbObjectId scaleId() const;
    Acad::ErrorStatus setScaleId(AcDbObjectId id);
    // The groups of the kind's subclass, from its 100 marker on (not a copy).
    const resbuf* kindData() const { return m_data; }
    Acad::ErrorStatus setKindData(const resbuf* chain);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    AcDbObjectId m_scale;
    resbuf* m_data = nullptr;
};

#define KHOST_DECLARE_CONTEXTDATA(CLASS)                                                           \
    class CLASS : public AcDbAnnotScaleObjectContextData {                                         \
    public:                                                                                        \
        ACRX_DECLARE_MEMBERS(CLASS);                                                               \
    };
KHOST_DECLARE_CONTEXTDATA(AcDbTextObjectContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbMTextObjectContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbBlkRefObjectContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbMLeaderObjectContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbLeaderObjectContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbHatchScaleContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbAlignedDimensionObjectContextData)
KHOST_DECLARE_CONTEXTDATA(AcDbFcfObjectContextData)
#undef KHOST_DECLARE_CONTEXTDATA

namespace khost {

// The application of the annotative extended data and the keys of the context data.
constexpr const wchar_t* kAnnotativeApp = L"AcadAnnotative";
constexpr const wchar_t* kContextDataManager = L"AcDbContextDataManager";

// Whether the object's kind can be annotative at all, and whether it keeps a context per scale
// (entities) or only the annotative flag (block definitions, styles).
bool annotativeKind(const AcDbObject* obj);
bool keepsContexts(const AcDbObject* obj);

// The SCALE object of the database with this name (compared without regard to case), or null.
AcDbScale* findScale(AcDbDatabase* db, const ACHAR* name);
// The SCALE object of a context's identifier in the database, or null.
AcDbScale* scaleOfContext(AcDbDatabase* db, const AcDbObjectContext& context);
// A new AcDbAnnotationScale for the scale object.
AcDbAnnotationScale* newAnnotationScale(const AcDbScale* scale);

// The context data of an object (without opening anything): each with its key.
std::vector<std::pair<std::wstring, AcDbAnnotScaleObjectContextData*>>
contextDataOf(const AcDbObject* obj);
// Whether any live context data of the database points at the scale.
bool scaleInUse(AcDbDatabase* db, AcDbObjectId scaleId);

} // namespace khost
