// Annotation scales and object contexts.
//
// The drawing keeps its list of annotation scales as SCALE objects in the dictionary
// ACAD_SCALELIST of the named object dictionary (keys "A0", "A1" ...); the current one is named
// by the header variable CANNOSCALE. Each database has one AcDbObjectContextManager with the
// collection ACDB_ANNOTATIONSCALES, a live view of that dictionary: contexts handed out by it are
// copies (AcDbAnnotationScale) that the caller deletes.
//
// An object is annotative when its extended data of the application "AcadAnnotative" says so
// ("AnnotativeData" { version 1, flag 1 }). An annotative entity keeps one context data object
// per scale it supports, in its extension dictionary under "AcDbContextDataManager" /
// "ACDB_ANNOTATIONSCALES" (keys "*A1", "*A2" ...), each pointing at its SCALE object; the first
// one is the default. Block definitions, text styles and dimension styles are made annotative
// by their extended data alone.
//
// Objects reach these through the protocol extensions AcDbAnnotativeObjectPE and
// AcDbObjectContextInterface: ACRX_PE_PTR(pObj, AcDbAnnotativeObjectPE) is null for a class
// that cannot be annotative (a line).
#pragma once

#include "dbmain.h"

#define ACDB_ANNOTATIONSCALES_COLLECTION L"ACDB_ANNOTATIONSCALES"
inline const ACHAR* const acdbAnnotationScaleCollectionName = ACDB_ANNOTATIONSCALES_COLLECTION;

class AcDbObjectContext : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectContext);
    AcDbObjectContext() = default;
    ~AcDbObjectContext() override = default;

    virtual Acad::ErrorStatus getName(AcString& name) const = 0;
    virtual Acad::ErrorStatus setName(const AcString& name) = 0;
    // The identity of the context within its collection (0 for one not in a collection).
    virtual Adesk::LongPtr uniqueIdentifier() const = 0;
    virtual AcString collectionName() const = 0;
};

class AcDbAnnotationScale : public AcDbObjectContext {
public:
    ACRX_DECLARE_MEMBERS(AcDbAnnotationScale);
    AcDbAnnotationScale() = default;
    ~AcDbAnnotationScale() override = default;

    Acad::ErrorStatus getName(AcString& name) const override;
    Acad::ErrorStatus setName(const AcString& name) override;
    Adesk::LongPtr uniqueIdentifier() const override { return m_id; }
    AcString collectionName() const override { return ACDB_ANNOTATIONSCALES_COLLECTION; }
    Acad::ErrorStatus copyFrom(const AcRxObject* pOther);

    Acad::ErrorStatus getPaperUnits(double& dPaperUnits) const;
    Acad::ErrorStatus getDrawingUnits(double& dDrawingUnits) const;
    // eInvalidInput for a value that is not positive.
    Acad::ErrorStatus setPaperUnits(double dPaperUnits);
    Acad::ErrorStatus setDrawingUnits(double dDrawingUnits);
    Acad::ErrorStatus getIsTemporaryScale(bool& bTemporary) const;
    // Paper units divided by drawing units (0.01 for 1:100).
    Acad::ErrorStatus getScale(double& dScale) const;
    bool matchScaleId(Adesk::LongPtr id) const { return m_id != 0 && m_id == id; }

private:
    friend struct AcDbAnnotationScaleAccess;
    AcString m_name;
    double m_paper = 1.0;
    double m_drawing = 1.0;
    bool m_temporary = false;
    Adesk::LongPtr m_id = 0;
};

class AcDbObjectContextCollectionIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectContextCollectionIterator);
    ~AcDbObjectContextCollectionIterator() override = default;
    virtual Acad::ErrorStatus start() = 0;
    virtual Acad::ErrorStatus next() = 0;
    virtual bool done() const = 0;
    // A copy of the context at the position; the caller deletes it.
    virtual Acad::ErrorStatus getContext(AcDbObjectContext*& pObjectContext) const = 0;
};

class AcDbObjectContextCollection : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectContextCollection);
    ~AcDbObjectContextCollection() override = default;

    virtual AcString name() const = 0;
    // Copies the caller deletes.
    virtual AcDbObjectContext* currentContext(const AcDbObject* pRequestingObject) const = 0;
    virtual Acad::ErrorStatus setCurrentContext(const AcDbObjectContext* pContext) = 0;
    // Adds a context of a new name (eDuplicateKey for a name taken).
    virtual Acad::ErrorStatus addContext(const AcDbObjectContext* pContext) = 0;
    // Removes the context of the name unless the drawing still needs it (the current one, a
    // locked one, one that objects use: eObjectIsReferenced).
    virtual Acad::ErrorStatus removeContext(const AcString& contextName) = 0;
    virtual Acad::ErrorStatus lockContext(const AcDbObjectContext* pContext) = 0;
    virtual Acad::ErrorStatus unlockContext() = 0;
    virtual bool locked() const = 0;
    virtual AcDbObjectContext* getContext(const AcString& contextName) const = 0;
    virtual bool hasContext(const AcString& contextName) const = 0;
    virtual AcDbObjectContextCollectionIterator* newIterator() const = 0;
};

class AcDbObjectContextManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectContextManager);
    explicit AcDbObjectContextManager(AcDbDatabase* pDb);
    ~AcDbObjectContextManager() override;
    AcDbObjectContextManager(const AcDbObjectContextManager&) = delete;
    AcDbObjectContextManager& operator=(const AcDbObjectContextManager&) = delete;

    // The manager takes over a registered collection and deletes it when it is unregistered.
    Acad::ErrorStatus registerContextCollection(const AcString& collectionName,
                                                AcDbObjectContextCollection* pCollection);
    Acad::ErrorStatus unregisterContextCollection(const AcString& collectionName);
    AcDbObjectContextCollection* contextCollection(const AcString& collectionName) const;

private:
    struct Impl;
    Impl* m_impl;
};

class AcDbAnnotativeObjectPE : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbAnnotativeObjectPE);
    virtual bool annotative(AcDbObject* pObject) const = 0;
    // The object must be open for write. Making an entity annotative gives it the current
    // scale; making it not annotative removes its scales.
    virtual Acad::ErrorStatus setAnnotative(AcDbObject* pObject, const bool bAnnotative) = 0;
    virtual Acad::ErrorStatus resetScaleDependentProperties(AcDbObject* pObject) = 0;
};

class AcDbObjectContextInterface : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectContextInterface);
    virtual bool supportsCollection(const AcDbObject* pObject,
                                    const AcString& collectionName) const = 0;
    virtual bool hasContext(const AcDbObject* pObject, const AcDbObjectContext& context) const = 0;
    // The object must be open for write, annotative and in a database; the context must be a
    // scale of the drawing's list.
    virtual Acad::ErrorStatus addContext(AcDbObject* pObject,
                                         const AcDbObjectContext& context) const = 0;
    virtual Acad::ErrorStatus removeContext(AcDbObject* pObject,
                                            const AcDbObjectContext& context) const = 0;
};

namespace khost {
// The scales of a new metric drawing (1:1 and the usual reductions and enlargements).
void buildDefaultScaleList(AcDbDatabase* db);
} // namespace khost
