// Dynamic blocks: block definitions with named properties (visibility states, lengths, flips,
// plain lists of values) whose references each carry their own current values.
//
// Everything is kept in extended data of the application "KHOST_DYNBLOCK", so a drawing keeps
// its dynamic blocks through a DXF round trip and through the copy of a drawing into a block
// (AcDbDatabase::insert takes the xdata of the source's model space record to the new block).
//
// Block definition (its AcDbBlockTableRecord):
//   1001 KHOST_DYNBLOCK
//   1000 DYNAMIC_BLOCK
//   1070 1                       layout version
//   then for each property, in the order the properties are evaluated:
//   1002 {
//     1000 name                  compared without regard to case
//     1070 kind                  1 visibility, 2 linear, 3 flip, 4 list
//     1070 flags                 1 read-only, 2 not shown, 4 has a minimum, 8 has a maximum
//     1000 description
//     value                      the default; its group gives the property's type:
//                                1000 text, 1040 real, 1070 16-bit, 1071 32-bit, 1010 point
//     1002 { values 1002 }       the allowed values (same group as the default); none: any
//     1040 minimum               with flag 4 (real properties)
//     1040 maximum               with flag 8
//     linear only:  1013 direction of the displacement
//     flip only:    1010 a point of the mirror axis, 1013 the axis direction,
//                   1000 name of a linear property whose displacement moves the axis ("" none)
//   1002 }
//
// Entity of a dynamic block definition taking part in properties:
//   1001 KHOST_DYNBLOCK
//   1000 DYNAMIC_MEMBER
//   for each property it takes part in:
//   1002 {  1000 property name, 1070 role, role 4 only: 1000 state (repeated)  1002 }
//   roles: 1 moved by the displacement of a linear property, 2 only the end point (last vertex
//   of a polyline) moved by it, 3 mirrored by a flip property, 4 shown only in the listed
//   visibility states.
//
// Block reference: the current values, a pair for each property that has been set:
//   1001 KHOST_DYNBLOCK
//   1000 DYNAMIC_REFERENCE
//   1000 property name, value (typed group as in the definition) ...
//   A property without a pair has its default value.
//
// Representation: a reference whose values are not all the defaults is drawn by an anonymous
// block of its own ("*U<n>") that holds the definition's entities evaluated for those values
// (hidden ones left out, moved, stretched and mirrored ones changed). Its record carries
//   1001 KHOST_DYNBLOCK
//   1000 DYNAMIC_REPRESENTATION
//   1000 name of the dynamic block definition
//   1000 handle of the reference it was made for (hexadecimal)
// Attributes of the reference follow the evaluated attribute definitions of the actions they
// take part in (position, justification, visibility); their texts are kept.
//
// Evaluation starts from the definition's geometry and applies the properties in order:
// a visibility property hides the members not listed for its value; a linear property moves
// its members by (value - default) along its direction; a flip property whose value differs
// from its default mirrors its members about its axis. Texts and attribute definitions stay
// readable when mirrored: their points are mirrored and their justification swapped (left and
// right, or top and bottom).
#pragma once

#include "dbent_array.h"
#include "dbmain.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

#include <string>
#include <vector>

class AcDbBlockReference;
class AcDbBlockTableRecord;
class AcDbEntity;

namespace AcDb {
// Types of values of dynamic block properties and of evaluation variants.
enum DwgDataType {
    kDwgNull = 0,
    kDwgReal = 1,
    kDwgInt32 = 2,
    kDwgInt16 = 3,
    kDwgInt8 = 4,
    kDwgText = 5,
    kDwgBChunk = 6,
    kDwgHandle = 7,
    kDwgHardOwnershipId = 8,
    kDwgSoftOwnershipId = 9,
    kDwgHardPointerId = 10,
    kDwgSoftPointerId = 11,
    kDwg3Real = 12,
    kDwgInt64 = 13,
    kDwg2Real = 14,
    kDwgNotRecognized = 19,
};
} // namespace AcDb

// A value of a dynamic property: a result buffer of type RTREAL, RTSHORT, RTLONG, RTSTR,
// RT3DPOINT or RTPOINT (RTNONE when empty). A string value is owned by the variant.
class AcDbEvalVariant : public resbuf, public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbEvalVariant);
    AcDbEvalVariant();
    AcDbEvalVariant(const AcDbEvalVariant& other);
    AcDbEvalVariant(const AcDbEvalVariant* pOther);
    AcDbEvalVariant(double dVal);
    AcDbEvalVariant(short iVal);
    AcDbEvalVariant(long lVal);
    AcDbEvalVariant(const ACHAR* szVal);
    AcDbEvalVariant(const AcGePoint2d& pt);
    AcDbEvalVariant(const AcGePoint3d& pt);
    // A copy of a buffer's value (a string is copied).
    explicit AcDbEvalVariant(const resbuf& rb);
    ~AcDbEvalVariant() override;

    AcDbEvalVariant& operator=(const AcDbEvalVariant& other);
    AcDbEvalVariant& operator=(double dVal);
    AcDbEvalVariant& operator=(short iVal);
    AcDbEvalVariant& operator=(long lVal);
    AcDbEvalVariant& operator=(const ACHAR* szVal);
    AcDbEvalVariant& operator=(const AcGePoint3d& pt);
    AcDbEvalVariant& operator=(const AcGePoint2d& pt);

    // Empties the variant (RTNONE).
    void clear();
    Acad::ErrorStatus copyFrom(const AcRxObject* pOther);

    // Same type and value (strings exactly, reals within 1e-10).
    bool operator==(const AcDbEvalVariant& other) const;
    bool operator!=(const AcDbEvalVariant& other) const { return !(*this == other); }

    AcDb::DwgDataType getType() const;
    // eInvalidInput when the variant holds another type (a 16-bit value also gives int and
    // long, a 32-bit value long and int).
    Acad::ErrorStatus getValue(double& value) const;
    Acad::ErrorStatus getValue(short& value) const;
    Acad::ErrorStatus getValue(int& value) const;
    Acad::ErrorStatus getValue(long& value) const;
    Acad::ErrorStatus getValue(AcString& value) const;
    Acad::ErrorStatus getValue(AcGePoint3d& value) const;
    Acad::ErrorStatus getValue(AcGePoint2d& value) const;
};

using AcDbEvalVariantArray = AcArray<AcDbEvalVariant>;

// One property of one dynamic block reference.
class AcDbDynBlockReferenceProperty {
public:
    enum UnitsType { kNoUnits = 0, kAngular = 1, kDistance = 2, kArea = 3 };

    AcDbDynBlockReferenceProperty() = default;

    // The block reference the property belongs to.
    AcDbObjectId blockId() const { return m_ref; }
    AcString propertyName() const { return AcString(m_name); }
    AcString description() const { return AcString(m_description); }
    bool readOnly() const { return m_readOnly; }
    bool show() const { return m_show; }
    bool visibleInCurrentVisibilityState() const { return true; }
    AcDb::DwgDataType propertyType() const;
    UnitsType unitsType() const;
    // The values the property accepts; empty for a property that accepts any value of its type.
    Acad::ErrorStatus getAllowedValues(AcDbEvalVariantArray& allowedValues);
    // The current value of the reference (the default when it has none of its own).
    AcDbEvalVariant value() const;
    // Sets the reference's value and redraws it. The reference is opened for write for the
    // change (or used as given when the wrapper was made from an open reference, which must
    // then be open for write). eNotApplicable for a read-only property; eInvalidInput for a
    // value of another type (numbers are converted when that loses nothing), one outside the
    // allowed values or outside the minimum and maximum; eKeyNotFound when the definition no
    // longer has the property; the open status when the reference cannot be opened for write.
    Acad::ErrorStatus setValue(const AcDbEvalVariant& value);

    bool operator==(const AcDbDynBlockReferenceProperty& other) const {
        return m_ref == other.m_ref && m_name == other.m_name;
    }

private:
    friend class AcDbDynBlockReference;
    AcDbObjectId m_ref;
    AcDbBlockReference* m_pRef = nullptr; // when the wrapper was made from an open reference
    std::wstring m_name;
    std::wstring m_description;
    int m_kind = 0;
    AcDb::DwgDataType m_type = AcDb::kDwgNull;
    bool m_readOnly = false;
    bool m_show = true;
};

using AcDbDynBlockReferencePropertyArray = AcArray<AcDbDynBlockReferenceProperty>;

// A view of a block reference as a dynamic block reference.
class AcDbDynBlockReference {
public:
    explicit AcDbDynBlockReference(AcDbObjectId blockRefId);
    // The reference stays the caller's; setting values needs it open for write.
    explicit AcDbDynBlockReference(AcDbBlockReference* pRef);
    virtual ~AcDbDynBlockReference() = default;

    // True for a block table record that is a dynamic block definition.
    static bool isDynamicBlock(AcDbObjectId blockTableRecordId);
    // True when the reference's dynamic block definition is one.
    bool isDynamicBlock() const;
    AcDbObjectId blockId() const { return m_ref; }
    // The properties of the definition, in its order, bound to this reference; empty for a
    // reference that is not dynamic.
    void getBlockProperties(AcDbDynBlockReferencePropertyArray& properties) const;
    // All properties back to their defaults (read-only ones included).
    Acad::ErrorStatus resetBlock();
    // The definition the reference is an instance of: the block of its representation's
    // dynamic block, else its own block.
    AcDbObjectId dynamicBlockTableRecord() const;
    // The anonymous block that draws the reference, null when it is drawn by the definition.
    AcDbObjectId anonymousBlockTableRecord() const;

private:
    AcDbObjectId m_ref;
    AcDbBlockReference* m_pRef = nullptr;
};

namespace khost {

// The host's own description of dynamic properties (see the layout at the top).
enum class DynPropKind { Visibility = 1, Linear = 2, Flip = 3, List = 4 };
enum class DynRole { Move = 1, StretchEnd = 2, Mirror = 3, Visible = 4 };

struct DynPropDef {
    std::wstring name;
    DynPropKind kind = DynPropKind::List;
    std::wstring description;
    bool readOnly = false;
    bool show = true;
    // The default; its type is the property's type.
    AcDbEvalVariant defaultValue;
    // Empty: any value of the type.
    std::vector<AcDbEvalVariant> allowed;
    bool hasMinimum = false;
    double minimum = 0.0;
    bool hasMaximum = false;
    double maximum = 0.0;
    // Linear: the direction the members move in, per unit of value.
    AcGeVector3d direction{1.0, 0.0, 0.0};
    // Flip: the mirror axis, moved by the displacement of the linear property axisFollows.
    AcGePoint3d axisPoint;
    AcGeVector3d axisDirection{0.0, 1.0, 0.0};
    std::wstring axisFollows;
};

struct DynMembership {
    std::wstring property;
    DynRole role = DynRole::Move;
    std::vector<std::wstring> states; // DynRole::Visible
};

// Makes a block definition (open for write) dynamic with these properties, or an ordinary
// block with none. eInvalidInput for a property without a name or a default, a name used
// twice, an allowed value or a default of another type than the default's, a visibility
// property without states or whose default is not a state, or a flip whose axisFollows names no
// linear property before it.
Acad::ErrorStatus setDynamicBlockDefinition(AcDbBlockTableRecord* pBlock,
                                            const std::vector<DynPropDef>& props);
// The properties of a block definition; false for a block that is not dynamic.
bool getDynamicBlockDefinition(const AcDbBlockTableRecord* pBlock, std::vector<DynPropDef>& props);
bool isDynamicBlockDefinition(const AcDbBlockTableRecord* pBlock);

// Lets an entity of a definition (open for write) take part in properties.
Acad::ErrorStatus setDynamicMembership(AcDbEntity* pEnt, const std::vector<DynMembership>& roles);
bool getDynamicMembership(const AcDbEntity* pEnt, std::vector<DynMembership>& roles);

// The application name of the extended data above.
extern const ACHAR* const kDynBlockApp;

} // namespace khost
