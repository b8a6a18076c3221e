// Redrawing dynamic block references: the definition's entities evaluated for the reference's
// values make its anonymous representation block, and its attributes follow the evaluated
// attribute definitions (see the notes at the top of dbdynblk.h).
#include "dbdynblk_impl.h"

#include "acutads.h"
#include "dbaddrec.h"
#include "dbblkref.h"
#include "dbcurve_pline.h"
#include "dbent_util.h"
#include "dbraw.h"
#include "dbtext.h"
#include "geplane.h"

#include <cmath>
#include <cwchar>
#include <map>
#include <memory>

namespace khost {
namespace {

constexpr const ACHAR* kRepresentationTag = L"DYNAMIC_REPRESENTATION";

struct ChainDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

// One entity of the definition on its way into a representation.
struct Piece {
    std::unique_ptr<AcDbEntity> entity;
    std::vector<DynMembership> roles;
    bool shown = true;
};

// A copy of an entity of the same database that is in no database, made through its fields as
// the DXF reader makes entities. Sub-entities are not copied.
AcDbEntity* copyEntity(const AcDbEntity* src) {
    RbChainFiler out(src->database());
    src->dxfOutFields(&out);
    Chain all(out.takeChain());
    resbuf* head = nullptr;
    resbuf** tail = &head;
    int braces = 0;
    bool ownerSeen = false;
    for (const resbuf* rb = all.get(); rb; rb = rb->rbnext) {
        if (rb->restype == 102) {
            std::wstring s = rb->resval.rstring ? rb->resval.rstring : L"";
            braces += (!s.empty() && s[0] == L'{') ? 1 : (s == L"}" ? -1 : 0);
            braces = braces < 0 ? 0 : braces;
            continue;
        }
        if (braces > 0 || rb->restype == 5)
            continue;
        if (rb->restype == 330 && !ownerSeen) {
            ownerSeen = true;
            continue;
        }
        *tail = rbCopy(rb);
        (*tail)->rbnext = nullptr;
        tail = &(*tail)->rbnext;
    }
    Chain fields(head);
    std::unique_ptr<AcDbObject> made;
    if (auto* raw = AcDbRawEntity::cast(src))
        made.reset(new AcDbRawEntity(raw->dxfName(), raw->className()));
    else
        made.reset(createDbObject(src->isA()->name()));
    auto* ent = AcDbEntity::cast(made.get());
    RbChainFiler in(src->database(), fields.get());
    if (!ent || ent->dxfInFields(&in) != Acad::eOk)
        return nullptr;
    made.release();
    return ent;
}

// The displacement of the end point only: lines and light-weight polylines; others move whole.
void stretchEnd(AcDbEntity* e, const AcGeVector3d& d) {
    if (auto* line = AcDbLine::cast(e)) {
        line->setEndPoint(line->endPoint() + d);
        return;
    }
    if (auto* pl = AcDbPolyline::cast(e)) {
        unsigned int n = pl->numVerts();
        if (n > 0 && isWorldZ(pl->normal())) {
            AcGePoint2d p;
            pl->getPointAt(n - 1, p);
            pl->setPointAt(n - 1, AcGePoint2d(p.x + d.x, p.y + d.y));
            return;
        }
    }
    e->transformBy(AcGeMatrix3d::translation(d));
}

AcDb::TextHorzMode swappedHorizontal(AcDb::TextHorzMode m) {
    return m == AcDb::kTextLeft ? AcDb::kTextRight : (m == AcDb::kTextRight ? AcDb::kTextLeft : m);
}

AcDb::TextVertMode swappedVertical(AcDb::TextVertMode m) {
    switch (m) {
    case AcDb::kTextBase:
    case AcDb::kTextBottom:
        return AcDb::kTextTop;
    case AcDb::kTextTop:
        return AcDb::kTextBottom;
    default:
        return m;
    }
}

// Mirrors a text so that it stays readable: its points are mirrored, its direction kept as near
// the mirrored one as reading allows, and its justification swapped across the axis.
void mirrorText(AcDbText* t, const AcGeMatrix3d& m) {
    if (!isWorldZ(t->normal())) {
        t->transformBy(m);
        return;
    }
    AcGeVector3d dir(std::cos(t->rotation()), std::sin(t->rotation()), 0.0);
    AcGeVector3d md = m * dir;
    const bool across = md.dotProduct(dir) < 0.0; // the axis crosses the reading direction
    AcGeVector3d newDir = across ? -md : md;
    AcDb::TextHorzMode h = t->horizontalMode();
    AcDb::TextVertMode v = t->verticalMode();
    AcGePoint3d pos = m * t->position();
    AcGePoint3d align = m * (t->isDefaultAlignment() ? t->position() : t->alignmentPoint());
    t->setRotation(std::atan2(newDir.y, newDir.x));
    if (h == AcDb::kTextAlign || h == AcDb::kTextFit) {
        // Both points are the text's: the ends change places when reading would reverse.
        t->setPosition(across ? align : pos);
        t->setAlignmentPoint(across ? pos : align);
    } else {
        if (across)
            h = swappedHorizontal(h);
        else if (h != AcDb::kTextMid)
            v = swappedVertical(v);
        t->setHorizontalMode(h);
        t->setVerticalMode(v);
        t->setAlignmentPoint(align);
        if (t->isDefaultAlignment())
            t->setPosition(align);
        t->adjustAlignment();
    }
    if (auto* def = AcDbAttributeDefinition::cast(t))
        if (def->isMTextAttributeDefinition())
            def->updateMTextAttributeDefinition();
}

void mirrorMText(AcDbMText* t, const AcGeMatrix3d& m) {
    if (!isWorldZ(t->normal())) {
        t->transformBy(m);
        return;
    }
    AcGeVector3d dir = t->direction();
    AcGeVector3d md = m * dir;
    const bool across = md.dotProduct(dir) < 0.0;
    int a = t->attachment();
    if (a >= 1 && a <= 9) {
        int row = (a - 1) / 3, col = (a - 1) % 3;
        if (across)
            col = 2 - col;
        else
            row = 2 - row;
        t->setAttachment(static_cast<AcDbMText::AttachmentPoint>(row * 3 + col + 1));
    }
    t->setLocation(m * t->location());
    t->setDirection(across ? -md : md);
}

void mirrorPiece(AcDbEntity* e, const AcGeMatrix3d& m) {
    if (auto* t = AcDbText::cast(e))
        mirrorText(t, m);
    else if (auto* mt = AcDbMText::cast(e))
        mirrorMText(mt, m);
    else
        e->transformBy(m);
}

bool hasRole(const Piece& p, const DynPropDef& prop, DynRole role, const DynMembership** found) {
    for (const DynMembership& m : p.roles)
        if (m.role == role && sameDynName(m.property, prop.name)) {
            if (found)
                *found = &m;
            return true;
        }
    return false;
}

// The definition's entities evaluated for the values.
std::vector<Piece> evaluate(const AcDbBlockTableRecord* def, const std::vector<DynPropDef>& props,
                            const std::vector<AcDbEvalVariant>& values) {
    std::vector<Piece> pieces;
    for (AcDbObjectId id : def->entityIds()) {
        auto* src = AcDbEntity::cast(peekObject(id));
        if (!src)
            continue;
        Piece p;
        p.entity.reset(copyEntity(src));
        if (!p.entity)
            continue;
        getDynamicMembership(src, p.roles);
        pieces.push_back(std::move(p));
    }
    std::map<std::wstring, AcGeVector3d> displacement; // by name key of linear properties
    for (size_t i = 0; i < props.size() && i < values.size(); ++i) {
        const DynPropDef& prop = props[i];
        const AcDbEvalVariant& value = values[i];
        switch (prop.kind) {
        case DynPropKind::Visibility:
            for (Piece& p : pieces) {
                const DynMembership* m = nullptr;
                if (!hasRole(p, prop, DynRole::Visible, &m))
                    continue;
                bool listed = false;
                for (const std::wstring& s : m->states)
                    listed = listed || AcDbEvalVariant(s.c_str()) == value;
                p.shown = p.shown && listed;
            }
            break;
        case DynPropKind::Linear: {
            double v = 0.0, d0 = 0.0;
            value.getValue(v);
            prop.defaultValue.getValue(d0);
            AcGeVector3d d = prop.direction.normal() * (v - d0);
            displacement[nameKey(prop.name.c_str())] = d;
            if (d.isZeroLength())
                break;
            for (Piece& p : pieces) {
                if (hasRole(p, prop, DynRole::StretchEnd, nullptr))
                    stretchEnd(p.entity.get(), d);
                else if (hasRole(p, prop, DynRole::Move, nullptr))
                    p.entity->transformBy(AcGeMatrix3d::translation(d));
            }
            break;
        }
        case DynPropKind::Flip: {
            AcDbEvalVariant zero = prop.defaultValue;
            if (zero.restype == RTSHORT)
                zero = static_cast<short>(0);
            else if (zero.restype == RTLONG)
                zero = 0L;
            const bool flipped = (value != zero) != (prop.defaultValue != zero);
            if (!flipped)
                break;
            AcGePoint3d base = prop.axisPoint;
            auto it = displacement.find(nameKey(prop.axisFollows.c_str()));
            if (!prop.axisFollows.empty() && it != displacement.end())
                base += it->second;
            AcGeVector3d normal = prop.axisDirection.crossProduct(AcGeVector3d::kZAxis);
            if (normal.isZeroLength())
                break;
            AcGeMatrix3d m = AcGeMatrix3d::mirroring(AcGePlane(base, normal.normal()));
            for (Piece& p : pieces)
                if (hasRole(p, prop, DynRole::Mirror, nullptr))
                    mirrorPiece(p.entity.get(), m);
            break;
        }
        case DynPropKind::List:
            break;
        }
    }
    return pieces;
}

std::wstring handleHex(const AcDbObject* o) {
    AcDbHandle h;
    o->getAcDbHandle(h);
    ACHAR buf[32];
    h.getIntoAsciiBuffer(buf, 32);
    return buf;
}

// A new anonymous block for the reference, open for write.
Acad::ErrorStatus makeRepresentation(AcDbDatabase* db, const AcDbBlockTableRecord* def,
                                     const AcDbBlockReference* ref, AcDbBlockTableRecord*& block,
                                     AcDbObjectId& id) {
    block = new AcDbBlockTableRecord;
    Acad::ErrorStatus es = Acad::eDuplicateRecordName;
    for (int n = 1; es == Acad::eDuplicateRecordName; ++n)
        es = addRecordUnopened(db, DbRole::BlockTable, block, (L"*U" + std::to_wstring(n)).c_str(),
                               id);
    if (es != Acad::eOk) {
        delete block;
        block = nullptr;
        return es;
    }
    block->setBlockFlags(1);
    block->setOrigin(def->origin());
    block->setBlockInsertUnits(def->blockInsertUnits());
    resbuf* head = acutBuildList(AcDb::kDxfRegAppName, kDynBlockApp, 1000, kRepresentationTag, 1000,
                                 def->name(), 1000, handleHex(ref).c_str(), 0);
    Chain chain(head);
    ensureRegApp(db, kDynBlockApp);
    block->setXData(head);
    // The definition's extended data of other applications (its annotative flag) hold for its
    // representations as well.
    Chain all(def->xData());
    resbuf* foreign = nullptr;
    resbuf** tail = &foreign;
    bool own = false;
    for (const resbuf* rb = all.get(); rb; rb = rb->rbnext) {
        if (rb->restype == AcDb::kDxfRegAppName)
            own = rb->resval.rstring && sameDynName(rb->resval.rstring, kDynBlockApp);
        if (own)
            continue;
        *tail = rbCopy(rb);
        (*tail)->rbnext = nullptr;
        tail = &(*tail)->rbnext;
    }
    Chain others(foreign);
    if (foreign)
        block->setXData(foreign);
    return Acad::eOk;
}

// Erases the entities of a block open for write.
void emptyBlock(AcDbBlockTableRecord* block) {
    for (AcDbObjectId id : block->entityIds()) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForWrite) == Acad::eOk) {
            e->erase();
            e->close();
        }
    }
}

// The attributes of the reference follow the evaluated definitions that take part in actions.
Acad::ErrorStatus updateAttributes(AcDbBlockReference* ref, const std::vector<Piece>& pieces) {
    std::map<std::wstring, const Piece*> byTag;
    for (const Piece& p : pieces)
        if (auto* def = AcDbAttributeDefinition::cast(p.entity.get()))
            if (!p.roles.empty())
                byTag[nameKey(def->tagConst())] = &p;
    if (byTag.empty())
        return Acad::eOk;
    const AcGeMatrix3d xform = ref->blockTransform();
    Acad::ErrorStatus result = Acad::eOk;
    std::unique_ptr<AcDbObjectIterator> it(ref->attributeIterator());
    for (; it && !it->done(); it->step()) {
        AcDbAttribute* attr = nullptr;
        if (acdbOpenObject(attr, it->objectId(), AcDb::kForWrite) != Acad::eOk)
            continue;
        auto found = byTag.find(nameKey(attr->tagConst()));
        if (found == byTag.end()) {
            attr->close();
            continue;
        }
        const Piece& p = *found->second;
        AcDbAttribute placed;
        placed.setAttributeFromBlock(AcDbAttributeDefinition::cast(p.entity.get()), xform);
        attr->setNormal(placed.normal());
        attr->setRotation(placed.rotation());
        attr->setHeight(placed.height());
        attr->setWidthFactor(placed.widthFactor());
        attr->mirrorInX(placed.isMirroredInX());
        attr->mirrorInY(placed.isMirroredInY());
        attr->setHorizontalMode(placed.horizontalMode());
        attr->setVerticalMode(placed.verticalMode());
        attr->setPosition(placed.position());
        attr->setAlignmentPoint(placed.alignmentPoint());
        if (!attr->isDefaultAlignment())
            attr->adjustAlignment();
        if (attr->isMTextAttribute())
            attr->updateMTextAttribute();
        bool governed = false;
        for (const DynMembership& m : p.roles)
            governed = governed || m.role == DynRole::Visible;
        if (governed)
            attr->setVisibility(p.shown ? AcDb::kVisible : AcDb::kInvisible);
        Acad::ErrorStatus es = attr->close();
        if (result == Acad::eOk)
            result = es;
    }
    return result;
}

} // namespace

bool readRepresentation(const AcDbBlockTableRecord* pBlock, std::wstring& definition,
                        std::wstring& owner) {
    if (!pBlock)
        return false;
    Chain chain(pBlock->xData(kDynBlockApp));
    const resbuf* rb = chain ? chain->rbnext : nullptr;
    const resbuf* parts[3] = {};
    for (int i = 0; i < 3; ++i, rb = rb ? rb->rbnext : nullptr) {
        if (!rb || rb->restype != 1000 || !rb->resval.rstring)
            return false;
        parts[i] = rb;
    }
    if (std::wcscmp(parts[0]->resval.rstring, kRepresentationTag) != 0)
        return false;
    definition = parts[1]->resval.rstring;
    owner = parts[2]->resval.rstring;
    return true;
}

Acad::ErrorStatus applyDynamicValues(AcDbBlockReference* pRef, AcDbObjectId definition,
                                     const std::vector<DynPropDef>& props,
                                     const std::vector<AcDbEvalVariant>& values) {
    AcDbDatabase* db = pRef->database();
    auto* def = AcDbBlockTableRecord::cast(peekObject(definition));
    if (!db || !def)
        return Acad::eNoDatabase;
    Acad::ErrorStatus es = writeReferenceValues(pRef, props, values);
    if (es != Acad::eOk)
        return es;

    bool defaults = true;
    for (size_t i = 0; i < props.size() && i < values.size(); ++i)
        defaults = defaults && values[i] == props[i].defaultValue;

    // The reference's own representation, if it has one (a copied reference shares another's).
    AcDbObjectId current = pRef->blockTableRecord();
    std::wstring repDef, repOwner;
    const bool isRep =
        readRepresentation(AcDbBlockTableRecord::cast(peekObject(current)), repDef, repOwner);
    const bool ownRep = isRep && repOwner == handleHex(pRef) && sameDynName(repDef, def->name());

    std::vector<Piece> pieces = evaluate(def, props, values);
    Acad::ErrorStatus attrStatus = updateAttributes(pRef, pieces);
    if (defaults) {
        if (current != definition)
            es = pRef->setBlockTableRecord(definition);
        if (es == Acad::eOk && ownRep) {
            AcDbBlockTableRecord* old = nullptr;
            if (acdbOpenObject(old, current, AcDb::kForWrite) == Acad::eOk) {
                emptyBlock(old);
                old->erase();
                old->close();
            }
        }
    } else {
        AcDbBlockTableRecord* block = nullptr;
        AcDbObjectId blockId = current;
        if (ownRep) {
            es = acdbOpenObject(block, current, AcDb::kForWrite);
            if (es == Acad::eOk)
                emptyBlock(block);
        } else {
            es = makeRepresentation(db, def, pRef, block, blockId);
        }
        if (es != Acad::eOk)
            return es;
        for (Piece& p : pieces)
            if (p.shown && block->appendAcDbEntity(p.entity.get()) == Acad::eOk)
                p.entity.release()->close();
        block->close();
        if (current != blockId)
            es = pRef->setBlockTableRecord(blockId);
    }
    return es != Acad::eOk ? es : attrStatus;
}

} // namespace khost
