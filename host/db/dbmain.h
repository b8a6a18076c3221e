// The drawing database: objects, entities, the database itself and the opening of objects.
//
// Ownership and lifetime
//   Every object added to a database (addAcDbObject, a symbol table's add, a dictionary's setAt,
//   a block table record's appendAcDbEntity) belongs to the database, which deletes it when the
//   database is destroyed; the caller only closes it. An object that was never added belongs to
//   its creator, who deletes it. A new object is open for write from its construction.
//
// Open state
//   Up to 256 readers or one writer (acdbOpenObject). Every setter checks that the object is open
//   for write: a setter that returns Acad::ErrorStatus refuses with eNotOpenForWrite, a void
//   setter records the violation. Errors of the open discipline (an object left open, a write
//   through an object not open for write, close of an object that is not open) are reported and
//   counted by khost::reportOpenObjects (dbhost.h), which the editor calls after every command.
//
// Extension points for entity classes and the DXF filer
//   - A new object or entity class derives from AcDbObject or AcDbEntity, declares
//     ACRX_DECLARE_MEMBERS, defines ACRX_DEFINE_MEMBERS_DXF(Class, Parent, L"DXFNAME") and
//     registers a factory with khost::registerDbClass (dbhost.h) so that the DXF reader, entmake
//     and cloning can create it by its DXF name.
//   - Its persistent data is written by dxfOutFields and read by dxfInFields, each calling the
//     parent's first and then writing its own subclass marker (100) and groups through the
//     AcDbDxfFiler (dbfiler.h). AcDbObject writes 5 (handle, file filers only), the 102 groups of
//     reactors and the extension dictionary, and 330 (owner); AcDbEntity writes 100 AcDbEntity,
//     8, 6, 62, 420, 370, 48, 60. Extended data is not part of the fields: the filer writes
//     xData() after the fields and gives what it reads to setXData.
//   - Geometry-changing classes override transformBy.
//   - Objects the host does not model are kept as khost::AcDbRawObject / AcDbRawEntity
//     (dbraw.h): the DXF class name and the raw groups after the common fields.
//   - Setters call assertWriteEnabled() (void setters: `if (!assertWriteEnabled()) return;`);
//     ErrorStatus setters return eNotOpenForWrite when !isWriteEnabled().
//   - Classes inside host/db may include dbimpl.h: khost::readSubclass (the loop of one
//     subclass's groups; with stopAtUnknown it also reads chains without subclass markers, as
//     entmake gives them), rbId/rbPoint/rbVector, findRecord and khost::DbAccess.
//   - Filers pass object references (groups 330-369, 390-399, 480-481) as names: the id in
//     rlname[0] (AcDbObjectId::asOldId). The DXF file filers translate them to and from handles.
//   - A reader fills a database made with AcDbDatabase(false): khost::addObjectWithHandle,
//     linkRecord / linkEntity / linkEntry, setRoleId or resolveRoles, setExtraHeaderVar for the
//     header variables the database does not model (dbhost.h).
#pragma once

#include "AcString.h"
#include "acdb.h"
#include "dbcolor.h"
#include "dbfiler.h"
#include "dbid.h"
#include "dbsubeid.h"

#include <memory>

class AcGePoint3d;
class AcGeVector3d;
class AcGeMatrix3d;

class AcDbBlockTable;
class AcDbLayerTable;
class AcDbTextStyleTable;
class AcDbLinetypeTable;
class AcDbViewTable;
class AcDbUCSTable;
class AcDbViewportTable;
class AcDbRegAppTable;
class AcDbDimStyleTable;
class AcDbDictionary;
class AcDbEntity;
class AcDbObjectContextManager;
class AcDbAnnotationScale;

namespace khost {
struct DbImpl;
struct DbAccess;
struct ObjExtras;
} // namespace khost

class AcDbObject : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObject);
    AcDbObject();
    ~AcDbObject() override;
    AcDbObject(const AcDbObject&) = delete;
    AcDbObject& operator=(const AcDbObject&) = delete;

    AcDbObjectId objectId() const;
    AcDbObjectId ownerId() const;
    virtual Acad::ErrorStatus setOwnerId(AcDbObjectId ownerId);
    AcDbDatabase* database() const;
    AcDbDatabase* databaseToUse() const;
    void getAcDbHandle(AcDbHandle& handle) const;

    // Erasing needs the object open for write; erase(false) unerases.
    Acad::ErrorStatus erase(bool erasing = true);
    bool isErased() const;

    // Open state.
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNotifyEnabled() const { return false; }
    bool isNewObject() const;
    bool isDatabaseResident() const;
    bool isModified() const { return isWriteEnabled(); }
    int numReaders() const;
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    Acad::ErrorStatus close();
    // Closes an object open for write; changes are not undone by this host.
    Acad::ErrorStatus cancel();
    // True when the object may be read (it is open); false (recorded) otherwise.
    bool assertReadEnabled() const;
    // True when the object is open for write; false (recorded as a write violation) otherwise.
    bool assertWriteEnabled(bool autoUndo = true, bool recordModified = true);

    // Extended data: a new chain the caller frees with acutRelRb, each application's part
    // starting with its 1001 group; null when there is none.
    virtual resbuf* xData(const ACHAR* regappName = nullptr) const;
    virtual Acad::ErrorStatus setXData(const resbuf* xdata);

    // Extension dictionary.
    AcDbObjectId extensionDictionary() const;
    Acad::ErrorStatus createExtensionDictionary();
    Acad::ErrorStatus releaseExtensionDictionary();

    // Persistent reactors (the owners that keep a reference to this object, e.g. groups).
    void addPersistentReactor(AcDbObjectId objId);
    Acad::ErrorStatus removePersistentReactor(AcDbObjectId objId);
    bool hasPersistentReactor(AcDbObjectId objId) const;
    AcDbObjectIdArray persistentReactorIds() const;

    // Persistent fields as DXF groups; see the extension points above.
    virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
    virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

protected:
    // Called by erase() with the object open for write; a class refuses erasing by returning
    // an error (the default accepts).
    virtual Acad::ErrorStatus subErase(bool erasing);
    // Called when the object has been added to a database (its id and handle are set).
    virtual void subAddedToDatabase() {}

private:
    friend struct khost::DbAccess;
    khost::DbStub* m_stub = nullptr;
    khost::DbStub* m_owner = nullptr;
    khost::ObjExtras* m_extras = nullptr;
    Adesk::UInt16 m_readers = 0;
    Adesk::UInt8 m_mode = 0;  // 0 closed, 1 read, 2 write
    Adesk::UInt8 m_flags = 0; // khost::ObjFlag bits
};

class AcDbEntity : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbEntity);
    AcDbEntity();
    ~AcDbEntity() override;

    AcDbObjectId blockId() const { return ownerId(); }

    // A copy of the layer name the caller frees with acutDelString.
    ACHAR* layer() const;
    Acad::ErrorStatus layer(AcString& name) const;
    AcDbObjectId layerId() const;
    Acad::ErrorStatus setLayer(const ACHAR* newVal, bool doSubents = true,
                               bool allowHiddenLayer = false);
    Acad::ErrorStatus setLayer(AcDbObjectId newVal, bool doSubents = true,
                               bool allowHiddenLayer = false);

    AcCmColor color() const;
    Adesk::UInt16 colorIndex() const;
    AcCmEntityColor entityColor() const;
    Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, bool doSubents = true);

    // A copy of the linetype name the caller frees with acutDelString.
    ACHAR* linetype() const;
    Acad::ErrorStatus linetype(AcString& name) const;
    AcDbObjectId linetypeId() const;
    Acad::ErrorStatus setLinetype(const ACHAR* newVal, bool doSubents = true);
    Acad::ErrorStatus setLinetype(AcDbObjectId newVal, bool doSubents = true);
    double linetypeScale() const;
    Acad::ErrorStatus setLinetypeScale(double newval, bool doSubents = true);

    AcDb::LineWeight lineWeight() const;
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight newVal, bool doSubents = true);
    AcDb::Visibility visibility() const;
    Acad::ErrorStatus setVisibility(AcDb::Visibility newVal, bool doSubents = true);

    Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* pEntity, bool doSubents = true);
    // CLAYER, CELTYPE, CECOLOR, CELWEIGHT, CELTSCALE of the database (the entity's own, else
    // the given one, else the working database).
    void setDatabaseDefaults();
    void setDatabaseDefaults(AcDbDatabase* pDb);

    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);

    // Sub-entities (dbsubent.cpp, see dbsubeid.h): the paths of the parts of a kind under a
    // graphics marker (an array the caller frees with delete[]; entAndInsertStack, when given,
    // holds the entity and then its containing references, innermost first), and a new entity
    // outside the database that copies one part (the caller deletes it; null when the path
    // names no part of this entity).
    Acad::ErrorStatus getSubentPathsAtGsMarker(AcDb::SubentType type, Adesk::GsMarker gsMark,
                                               const AcGePoint3d& pickPoint,
                                               const AcGeMatrix3d& viewXform, int& numPaths,
                                               AcDbFullSubentPath*& subentPaths,
                                               int numInserts = 0,
                                               AcDbObjectId* entAndInsertStack = nullptr) const;
    AcDbEntity* subentPtr(const AcDbFullSubentPath& id) const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    friend struct khost::DbAccess;
    khost::DbStub* m_layer = nullptr;
    khost::DbStub* m_linetype = nullptr;
    double m_ltscale = 1.0;
    AcCmEntityColor m_color;
    Adesk::Int16 m_lineweight = AcDb::kLnWtByLayer;
    Adesk::UInt8 m_visibility = AcDb::kVisible;
};

// Opening objects.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased, const AcRxClass* pClass);
inline Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id,
                                        AcDb::OpenMode mode = AcDb::kForRead,
                                        bool openErased = false) {
    return acdbOpenObject(pObj, id, mode, openErased, nullptr);
}
// Opens an object of the given class (or a class derived from it): eNotThatKindOfClass for
// another class, which is then not left open.
template <class T>
inline Acad::ErrorStatus acdbOpenObject(T*& pObj, AcDbObjectId id,
                                        AcDb::OpenMode mode = AcDb::kForRead,
                                        bool openErased = false) {
    AcDbObject* p = nullptr;
    pObj = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(p, id, mode, openErased, T::desc());
    if (es == Acad::eOk)
        pObj = static_cast<T*>(p);
    return es;
}
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// eNotAnEntity for an object that is not an entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

// The conversion factor between two insertion units; eInvalidInput for undefined units.
// Attaches a drawing file as an external reference: a block pBlockName with the file's path
// (eDuplicateBlockName when the name is taken, eFileNotFound when the file cannot be found).
Acad::ErrorStatus acdbAttachXref(AcDbDatabase* pHostDb, const ACHAR* pFilename,
                                 const ACHAR* pBlockName, AcDbObjectId& xrefBlkId);

Acad::ErrorStatus acdbGetUnitsConversion(AcDb::UnitsValue from, AcDb::UnitsValue to,
                                         double& conversionFactor);

class AcDbDatabase : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDatabase);
    // buildDefaultDrawing: the tables, dictionaries and records of a new drawing (see
    // dbdefault.cpp); without it the database is empty, for a reader to fill.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // Adds a new object with the next handle; the object must not be in a database.
    Acad::ErrorStatus addAcDbObject(AcDbObject* pObj);
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj);
    // O(1). With createIfNotFound an id for a handle not yet used is created (it stays without
    // an object until one is added with that handle) and the handle seed moves past it.
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound,
                                      const AcDbHandle& objHandle, Adesk::UInt32 xRefId = 0);
    AcDbHandle handseed() const;
    Acad::ErrorStatus setHandseed(const AcDbHandle& handle);
    Adesk::Int32 approxNumObjects() const;

    // Symbol tables.
    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbViewTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbUCSTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbViewportTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbRegAppTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getSymbolTable(AcDbDimStyleTable*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& p, AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& p, AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& p,
                                        AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& p,
                                       AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getViewTable(AcDbViewTable*& p, AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getUCSTable(AcDbUCSTable*& p, AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getViewportTable(AcDbViewportTable*& p,
                                       AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& p, AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }
    Acad::ErrorStatus getDimStyleTable(AcDbDimStyleTable*& p,
                                       AcDb::OpenMode mode = AcDb::kForRead) {
        return getSymbolTable(p, mode);
    }

    // Dictionaries.
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& p,
                                                AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getLayoutDictionary(AcDbDictionary*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getMLeaderStyleDictionary(AcDbDictionary*& p,
                                                AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getTableStyleDictionary(AcDbDictionary*& p,
                                              AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getPlotSettingsDictionary(AcDbDictionary*& p,
                                                AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getPlotStyleNameDictionary(AcDbDictionary*& p,
                                                 AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getMaterialDictionary(AcDbDictionary*& p,
                                            AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getColorDictionary(AcDbDictionary*& p, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getMLStyleDictionary(AcDbDictionary*& p,
                                           AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getScaleListDictionary(AcDbDictionary*& p,
                                             AcDb::OpenMode mode = AcDb::kForRead);

    AcDbObjectId blockTableId() const;
    AcDbObjectId layerTableId() const;
    AcDbObjectId textStyleTableId() const;
    AcDbObjectId linetypeTableId() const;
    AcDbObjectId viewTableId() const;
    AcDbObjectId UCSTableId() const;
    AcDbObjectId viewportTableId() const;
    AcDbObjectId regAppTableId() const;
    AcDbObjectId dimStyleTableId() const;
    AcDbObjectId namedObjectsDictionaryId() const;
    AcDbObjectId groupDictionaryId() const;
    AcDbObjectId layoutDictionaryId() const;
    AcDbObjectId mleaderStyleDictionaryId() const;
    AcDbObjectId tableStyleDictionaryId() const;
    AcDbObjectId plotSettingsDictionaryId() const;
    AcDbObjectId plotStyleNameDictionaryId() const;
    AcDbObjectId materialDictionaryId() const;
    AcDbObjectId colorDictionaryId() const;
    AcDbObjectId mLStyleDictionaryId() const;
    AcDbObjectId scaleListDictionaryId() const;

    AcDbObjectId layerZero() const;
    AcDbObjectId continuousLinetype() const;
    AcDbObjectId byLayerLinetype() const;
    AcDbObjectId byBlockLinetype() const;
    // The block table record new entities go to: model space with TILEMODE 1, else paper space.
    AcDbObjectId currentSpaceId() const;
    Acad::ErrorStatus setCurrentSpaceId(AcDbObjectId id);

    // Header variables.
    AcDb::UnitsValue insunits() const;
    Acad::ErrorStatus setInsunits(AcDb::UnitsValue units);
    double ltscale() const;
    Acad::ErrorStatus setLtscale(double scale);
    bool msltscale() const;
    Acad::ErrorStatus setMsltscale(bool val);
    bool psltscale() const;
    Acad::ErrorStatus setPsltscale(bool val);
    double celtscale() const;
    Acad::ErrorStatus setCeltscale(double scale);
    bool tilemode() const;
    Acad::ErrorStatus setTilemode(bool mode);
    AcDbObjectId clayer() const;
    Acad::ErrorStatus setClayer(AcDbObjectId id);
    AcDbObjectId celtype() const;
    Acad::ErrorStatus setCeltype(AcDbObjectId id);
    AcDbObjectId textstyle() const;
    Acad::ErrorStatus setTextstyle(AcDbObjectId id);
    AcDbObjectId dimstyle() const;
    Acad::ErrorStatus setDimstyle(AcDbObjectId id);
    AcDbObjectId cmlstyleID() const;
    Acad::ErrorStatus setCmlstyleID(AcDbObjectId id);
    AcDbObjectId mleaderstyle() const;
    Acad::ErrorStatus setMLeaderstyle(AcDbObjectId id);
    AcDbObjectId tablestyle() const;
    Acad::ErrorStatus setTablestyle(AcDbObjectId id);
    AcCmColor cecolor() const;
    Acad::ErrorStatus setCecolor(const AcCmColor& color);
    AcDb::LineWeight celweight() const;
    Acad::ErrorStatus setCelweight(AcDb::LineWeight weight);
    double textsize() const;
    Acad::ErrorStatus setTextsize(double size);
    double dimscale() const;
    Acad::ErrorStatus setDimscale(double scale);
    // DIMBLK: the arrow block name, "" for the closed filled arrow.
    Acad::ErrorStatus getDimblk(AcString& name) const;
    Acad::ErrorStatus getDimblk(ACHAR*& name) const;
    Acad::ErrorStatus setDimblk(const ACHAR* name);
    Adesk::Int16 lunits() const;
    Acad::ErrorStatus setLunits(Adesk::Int16 v);
    Adesk::Int16 luprec() const;
    Acad::ErrorStatus setLuprec(Adesk::Int16 v);
    Adesk::Int16 aunits() const;
    Acad::ErrorStatus setAunits(Adesk::Int16 v);
    Adesk::Int16 auprec() const;
    Acad::ErrorStatus setAuprec(Adesk::Int16 v);
    double angbase() const;
    Acad::ErrorStatus setAngbase(double v);
    bool angdir() const;
    Acad::ErrorStatus setAngdir(bool v);
    AcDb::MeasurementValue measurement() const;
    Acad::ErrorStatus setMeasurement(AcDb::MeasurementValue v);

    // Annotation scales (dbannoscale.h): the context manager of the drawing; a copy of the
    // current scale (CANNOSCALE) the caller deletes, null when the list lacks it; setting one
    // that is not in the drawing's list gives eKeyNotFound.
    AcDbObjectContextManager* objectContextManager() const;
    AcDbAnnotationScale* cannoscale() const;
    Acad::ErrorStatus setCannoscale(AcDbAnnotationScale* val);

    // The current UCS of model space (ucs...) and of paper space (pucs...); the host sets them
    // with khost::setCurrentUcs.
    AcGePoint3d ucsorg() const;
    AcGeVector3d ucsxdir() const;
    AcGeVector3d ucsydir() const;
    AcDbObjectId ucsname() const;
    Acad::ErrorStatus setUcsname(AcDbObjectId ucsRecId);
    AcGePoint3d pucsorg() const;
    AcGeVector3d pucsxdir() const;
    AcGeVector3d pucsydir() const;
    AcDbObjectId pucsname() const;
    Acad::ErrorStatus setPucsname(AcDbObjectId ucsRecId);

    // GUIDs as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; the getters with ACHAR*& give a copy the
    // caller frees with acutDelString.
    Acad::ErrorStatus getFingerprintGuid(ACHAR*& guidString) const;
    AcString fingerprintGuid() const;
    Acad::ErrorStatus setFingerprintGuid(const ACHAR* guidString);
    Acad::ErrorStatus getVersionGuid(ACHAR*& guidString) const;
    AcString versionGuid() const;
    Acad::ErrorStatus setVersionGuid(const ACHAR* guidString);

    // The file the drawing was read from or last saved to ("" for a new drawing).
    Acad::ErrorStatus getFilename(const ACHAR*& pOutput) const;

    // Reading and saving go through the drawing file codec that host/dxf registers with
    // khost::setDrawingCodec; without one they fail with eNotImplementedYet.
    Acad::ErrorStatus readDwgFile(const ACHAR* fileName);
    Acad::ErrorStatus saveAs(const ACHAR* fileName);
    Acad::ErrorStatus dxfIn(const ACHAR* dxfFilename);
    Acad::ErrorStatus dxfOut(const ACHAR* fileName, int precision = 16);

    // Copies the model space of another drawing into the block pBlockName (made, or defined anew
    // when it exists), with the records, blocks and applications its entities need; where both
    // drawings have a record of the same name, this drawing's is kept. The block's origin is the
    // other drawing's insertion base point. eInvalidInput for a missing drawing or an invalid
    // name, eSelfReference for this drawing itself.
    Acad::ErrorStatus insert(AcDbObjectId& blockId, const ACHAR* pBlockName, AcDbDatabase* pDb,
                             bool preserveSourceDatabase = true);
    // The database of a resolved external reference keeps the records of its own file under the
    // names they have in the drawing that refers to it ("XREF|LAYER"): restoreOriginalXrefSymbols
    // gives them their own names (to change and save the file), restoreForwardingXrefSymbols the
    // names of the referring drawing again. eNotApplicable for a database that is not one.
    Acad::ErrorStatus restoreOriginalXrefSymbols();
    Acad::ErrorStatus restoreForwardingXrefSymbols();

    khost::DbImpl& impl() const { return *m_impl; }

private:
    std::unique_ptr<khost::DbImpl> m_impl;
};
