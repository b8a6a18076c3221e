// Complex entities: block references with their transformation and attributes, old-style
// polylines with their vertices, the ownership, iteration and erasing of sub-entities, and the
// hooks the DXF reader and writer use.
#include "enttest.h"

#include "gemat3d.h"

#include <vector>

using namespace enttest;

namespace {

std::vector<AcDbObjectId> iterate(AcDbObjectIterator* it) {
    std::vector<AcDbObjectId> ids;
    for (it->start(); !it->done(); it->step())
        ids.push_back(it->objectId());
    delete it;
    return ids;
}

std::wstring tagOf(AcDbObjectId id) {
    AcDbAttribute* a = nullptr;
    if (acdbOpenObject(a, id, AcDb::kForRead) != Acad::eOk)
        return L"?";
    std::wstring t = a->tagConst();
    a->close();
    return t;
}

} // namespace

using Complex = EntTest;

TEST_F(Complex, BlockTransformAndItsDecomposition) {
    AcDbObjectId blk = addBlock(L"B", AcGePoint3d(2, 3, 0));
    AcDbBlockReference ref(AcGePoint3d(10, 20, 30), blk);
    ref.setNormal(AcGeVector3d(1, 2, 2));
    ref.setRotation(0.75);
    ref.setScaleFactors(AcGeScale3d(2.0, -3.0, 0.5));
    const AcGeMatrix3d m = ref.blockTransform();
    // The block's origin goes to the position; its axes as the normal, rotation and scales say.
    EXPECT_TRUE(nearPt(m * AcGePoint3d(2, 3, 0), AcGePoint3d(10, 20, 30)));
    const AcGeVector3d n = AcGeVector3d(1, 2, 2).normal();
    EXPECT_TRUE(nearVec(m * AcGeVector3d::kZAxis, n * 0.5));
    AcGeVector3d x = m * AcGeVector3d::kXAxis;
    EXPECT_NEAR(x.length(), 2.0, 1e-12);
    EXPECT_TRUE(nearVec(x / 2.0, AcGeMatrix3d::planeToWorld(n) *
                                     AcGeVector3d(std::cos(0.75), std::sin(0.75), 0)));

    AcDbBlockReference other(AcGePoint3d(), blk);
    ASSERT_EQ(other.setBlockTransform(m), Acad::eOk);
    EXPECT_TRUE(nearPt(other.position(), AcGePoint3d(10, 20, 30)));
    EXPECT_TRUE(nearVec(other.normal(), n));
    // A negative Y scale is the same as a negative X scale turned by a half turn.
    EXPECT_NEAR(other.rotation(), 0.75 + kPi, 1e-12);
    EXPECT_NEAR(other.scaleFactors().sx, -2.0, 1e-12);
    EXPECT_NEAR(other.scaleFactors().sy, 3.0, 1e-12);
    EXPECT_NEAR(other.scaleFactors().sz, 0.5, 1e-12);
    EXPECT_TRUE(other.blockTransform().isEqualTo(m));
    ref.setScaleFactors(AcGeScale3d(2.0, 3.0, 0.5));
    ASSERT_EQ(other.setBlockTransform(ref.blockTransform()), Acad::eOk);
    EXPECT_NEAR(other.rotation(), 0.75, 1e-12);
    EXPECT_NEAR(other.scaleFactors().sx, 2.0, 1e-12);
    EXPECT_NEAR(other.scaleFactors().sy, 3.0, 1e-12);

    // A mirror in the plane is a negative X scale; a shear is no block transformation.
    AcDbBlockReference mirrored(AcGePoint3d(), blk);
    AcGeMatrix3d mx;
    mx(0, 0) = -1.0;
    ASSERT_EQ(mirrored.setBlockTransform(mx), Acad::eOk);
    EXPECT_NEAR(mirrored.scaleFactors().sx, -1.0, 1e-12);
    EXPECT_NEAR(mirrored.scaleFactors().sy, 1.0, 1e-12);
    EXPECT_NEAR(mirrored.rotation(), 0.0, 1e-12);
    EXPECT_TRUE(nearVec(mirrored.normal(), AcGeVector3d::kZAxis));
    AcGeMatrix3d shear;
    shear(0, 1) = 0.5;
    EXPECT_EQ(mirrored.setBlockTransform(shear), Acad::eInvalidInput);
    EXPECT_EQ(mirrored.setScaleFactors(AcGeScale3d(1, 0, 1)), Acad::eInvalidInput);
    EXPECT_EQ(mirrored.setBlockTableRecord(db->layerZero()), Acad::eInvalidInput);
}

TEST_F(Complex, AttributesAreOwnedIteratedAndErasedWithTheReference) {
    AcDbObjectId blk = addBlock(L"B");
    auto* ref = new AcDbBlockReference(AcGePoint3d(5, 5, 0), blk);
    AcDbObjectId refId = append(ref);
    std::vector<AcDbObjectId> ids;
    for (const wchar_t* tag : {L"A", L"B", L"C"}) {
        auto* a = new AcDbAttribute(AcGePoint3d(), L"v", tag);
        AcDbObjectId id;
        ASSERT_EQ(ref->appendAttribute(id, a), Acad::eOk);
        EXPECT_FALSE(id.isNull());
        EXPECT_EQ(a->ownerId(), refId);
        a->close();
        ids.push_back(id);
    }
    EXPECT_EQ(ref->appendAttribute(nullptr), Acad::eNullEntityPointer);
    AcDbObjectIterator* it = ref->attributeIterator();
    std::vector<std::wstring> tags;
    for (it->start(); !it->done(); it->step()) {
        auto* e = AcDbAttribute::cast(it->entity());
        ASSERT_NE(e, nullptr);
        tags.push_back(e->tagConst());
    }
    delete it;
    EXPECT_EQ(tags, (std::vector<std::wstring>{L"A", L"B", L"C"}));
    // Backwards from the end, and positioned by id.
    it = ref->attributeIterator();
    it->start(true);
    EXPECT_EQ(it->objectId(), ids[2]);
    it->step(true);
    EXPECT_EQ(it->objectId(), ids[1]);
    it->setPosition(ids[0]);
    EXPECT_EQ(it->objectId(), ids[0]);
    delete it;
    // The end-of-sequence marker is the reference's too.
    AcDbSequenceEnd* end = nullptr;
    ASSERT_EQ(ref->openSequenceEnd(end, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(end->ownerId(), refId);
    AcDbObjectId endId = end->objectId();
    end->close();
    AcDbAttribute* foreign = nullptr;
    EXPECT_EQ(ref->openAttribute(foreign, refId, AcDb::kForRead), Acad::eInvalidInput);
    ref->close();

    // Neither the attributes nor the marker are entities of model space.
    AcDbObjectIdArray ms = modelSpace(db.get());
    EXPECT_EQ(ms.length(), 1);
    EXPECT_EQ(ms[0], refId);

    // An erased attribute is skipped.
    AcDbAttribute* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, ids[1], AcDb::kForWrite), Acad::eOk);
    a->erase();
    a->close();
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(iterate(ref->attributeIterator()), (std::vector<AcDbObjectId>{ids[0], ids[2]}));
    ASSERT_EQ(ref->openAttribute(a, ids[2], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(std::wstring(a->tagConst()), L"C");
    a->close();
    EXPECT_EQ(ref->openAttribute(a, ids[1], AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(khost::subEntityIds(ref), (AcDbObjectIdArray{ids[0], ids[2], endId}));
    ref->close();

    // Erasing the reference erases what it owns; unerasing brings it back.
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(ref->erase(), Acad::eOk);
    EXPECT_TRUE(ids[0].isErased());
    EXPECT_TRUE(ids[2].isErased());
    EXPECT_TRUE(endId.isErased());
    ASSERT_EQ(ref->erase(false), Acad::eOk);
    EXPECT_FALSE(ids[0].isErased());
    EXPECT_FALSE(endId.isErased());
    ref->close();
}

TEST_F(Complex, AttributesOfANewReferenceFollowItIntoTheDatabase) {
    AcDbObjectId blk = addBlock(L"B");
    auto* ref = new AcDbBlockReference(AcGePoint3d(), blk);
    auto* a = new AcDbAttribute(AcGePoint3d(1, 1, 0), L"1", L"N");
    AcDbObjectId id;
    ASSERT_EQ(ref->appendAttribute(id, a), Acad::eOk);
    EXPECT_TRUE(id.isNull());
    AcDbObjectIterator* it = ref->attributeIterator();
    ASSERT_FALSE(it->done());
    EXPECT_EQ(it->entity(), a);
    EXPECT_TRUE(it->objectId().isNull());
    delete it;
    AcDbObjectId refId = add(ref);
    // Added, closed and owned by the reference.
    EXPECT_TRUE(a->isDatabaseResident());
    EXPECT_FALSE(a->isReadEnabled());
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
    std::vector<AcDbObjectId> ids = iterate(ref->attributeIterator());
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(tagOf(ids[0]), L"N");
    AcDbSequenceEnd* end = nullptr;
    ASSERT_EQ(ref->openSequenceEnd(end, AcDb::kForRead), Acad::eOk);
    end->close();
    ref->close();

    // A reference that is deleted before it is added takes its attributes with it.
    auto* lost = new AcDbBlockReference(AcGePoint3d(), blk);
    lost->appendAttribute(new AcDbAttribute(AcGePoint3d(), L"x", L"X"));
    delete lost;
}

TEST_F(Complex, TransformingAReferenceMovesItsAttributes) {
    AcDbObjectId blk = addBlock(L"B");
    auto* ref = new AcDbBlockReference(AcGePoint3d(10, 0, 0), blk);
    AcDbObjectId refId = append(ref);
    auto* a = new AcDbAttribute(AcGePoint3d(12, 0, 0), L"v", L"T");
    AcDbObjectId attId;
    ref->appendAttribute(attId, a);
    a->close();
    // Setting the position leaves the attribute; transforming takes it along.
    ref->setPosition(AcGePoint3d(20, 0, 0));
    ASSERT_EQ(ref->transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis)), Acad::eOk);
    EXPECT_TRUE(nearPt(ref->position(), AcGePoint3d(0, 20, 0)));
    EXPECT_NEAR(ref->rotation(), kPi / 2, 1e-12);
    ref->close();
    ASSERT_EQ(acdbOpenObject(a, attId, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(nearPt(a->position(), AcGePoint3d(0, 12, 0)));
    EXPECT_NEAR(a->rotation(), kPi / 2, 1e-12);
    // An attribute open for read keeps the reference from moving.
    AcDbBlockReference* r = nullptr;
    ASSERT_EQ(acdbOpenObject(r, refId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(r->transformBy(AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0))),
              Acad::eWasOpenForRead);
    EXPECT_TRUE(nearPt(r->position(), AcGePoint3d(0, 20, 0)));
    r->close();
    a->close();
}

TEST_F(Complex, OldStylePolylinesOwnTheirVertices) {
    AcGePoint3dArray pts{AcGePoint3d(0, 0, 9), AcGePoint3d(10, 0, 9), AcGePoint3d(10, 10, 9)};
    AcGeDoubleArray bulges{0.0, 1.0, 0.0};
    auto* p = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 2.0, false, 0.5, 0.5, &bulges);
    const AcGeVector3d n = AcGeVector3d(0, -1, 1).normal();
    p->setNormal(n);
    EXPECT_EQ(iterate(p->vertexIterator()).size(), 3u); // kept with the polyline until added
    AcDbObjectId pid = append(p);
    std::vector<AcDbObjectId> vids = iterate(p->vertexIterator());
    ASSERT_EQ(vids.size(), 3u);
    AcDb2dVertex* v = nullptr;
    ASSERT_EQ(p->openVertex(v, vids[1], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(v->ownerId(), pid);
    EXPECT_EQ(v->bulge(), 1.0);
    EXPECT_EQ(v->startWidth(), 0.5);
    EXPECT_EQ(v->position().z, 2.0); // the polyline's elevation
    // The polyline's geometry: at its elevation in its plane, the arc bulging from vertex 1.
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(n);
    EXPECT_TRUE(nearPt(p->vertexPosition(*v), toWorld * AcGePoint3d(10, 0, 2)));
    v->close();
    AcGePoint3d q;
    ASSERT_EQ(p->getPointAtParam(1.5, q), Acad::eOk);
    EXPECT_TRUE(nearPt(q, toWorld * AcGePoint3d(15, 5, 2)));
    double len = 0.0;
    ASSERT_EQ(p->getDistAtParam(2.0, len), Acad::eOk);
    EXPECT_NEAR(len, 10.0 + 5.0 * kPi, 1e-9);
    EXPECT_EQ(p->openVertex(v, pid, AcDb::kForRead), Acad::eInvalidInput);

    // A vertex inserted after the first one is second; the writer gets the list's order.
    auto* nv = new AcDb2dVertex(AcGePoint3d(5, -5, 2));
    AcDbObjectId nid;
    ASSERT_EQ(p->insertVertexAt(nid, vids[0], nv), Acad::eOk);
    nv->close();
    AcDbObjectIdArray order = khost::subEntityIds(p);
    ASSERT_EQ(order.length(), 5);
    EXPECT_EQ(order[1], nid);
    EXPECT_EQ(order[2], vids[1]);
    EXPECT_TRUE(AcDbSequenceEnd::cast(khost::peekObject(order[4])));
    // Properties set with the sub-entities reach the vertices and the end marker.
    auto subProps = [&] {
        std::vector<std::pair<Adesk::UInt16, AcDbObjectId>> out;
        for (AcDbObjectId id : khost::subEntityIds(p)) {
            auto* e = AcDbEntity::cast(khost::peekObject(id));
            out.emplace_back(e->colorIndex(), e->linetypeId());
        }
        return out;
    };
    const AcDbObjectId byLayer = db->byLayerLinetype();
    ASSERT_EQ(p->setColorIndex(3, false), Acad::eOk);
    EXPECT_EQ(subProps()[0].first, 256);
    ASSERT_EQ(p->setColorIndex(4), Acad::eOk);
    ASSERT_EQ(p->setLinetype(db->byBlockLinetype()), Acad::eOk);
    for (auto [color, linetype] : subProps()) {
        EXPECT_EQ(color, 4);
        EXPECT_EQ(linetype, db->byBlockLinetype());
    }
    ASSERT_EQ(p->setLinetype(byLayer), Acad::eOk);

    // Reversal keeps the vertex objects in their places and moves their data: the objects
    // [v0, new, v1, v2] now hold the points of [v2, v1, new, v0].
    ASSERT_EQ(p->reverseCurve(), Acad::eOk);
    ASSERT_EQ(p->openVertex(v, vids[1], AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(nearPt(v->position(), AcGePoint3d(5, -5, 2)));
    v->close();
    ASSERT_EQ(p->openVertex(v, nid, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(nearPt(v->position(), AcGePoint3d(10, 0, 2)));
    EXPECT_EQ(v->bulge(), 0.0);
    v->close();
    ASSERT_EQ(p->openVertex(v, vids[0], AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(nearPt(v->position(), AcGePoint3d(10, 10, 2)));
    EXPECT_EQ(v->bulge(), -1.0); // the arc's segment, run backwards, now starts here
    v->close();
    ASSERT_EQ(p->getPointAtParam(0.5, q), Acad::eOk);
    EXPECT_TRUE(nearPt(q, toWorld * AcGePoint3d(15, 5, 2)));
    p->close();

    // 3D polylines: world vertices, reversed positions, erased with the polyline.
    auto* p3 = new AcDb3dPolyline(AcDb::k3dSimplePoly, pts, true);
    AcDbObjectId p3id = append(p3);
    std::vector<AcDbObjectId> v3 = iterate(p3->vertexIterator());
    ASSERT_EQ(v3.size(), 3u);
    ASSERT_EQ(p3->getDistAtParam(3.0, len), Acad::eOk);
    EXPECT_NEAR(len, 20.0 + std::sqrt(200.0), 1e-9);
    ASSERT_EQ(p3->reverseCurve(), Acad::eOk);
    p3->getStartPoint(q);
    EXPECT_TRUE(nearPt(q, AcGePoint3d(10, 10, 9)));
    ASSERT_EQ(p3->erase(), Acad::eOk);
    EXPECT_TRUE(v3[0].isErased());
    p3->close();
    AcDb3dPolyline* ro = nullptr;
    ASSERT_EQ(acdbOpenObject(ro, p3id, AcDb::kForRead, true), Acad::eOk);
    AcDb3dPolylineVertex refused(AcGePoint3d(1, 2, 3));
    EXPECT_EQ(ro->appendVertex(&refused), Acad::eNotOpenForWrite);
    ro->close();
}

TEST_F(Complex, HooksOfTheFileReaderAndWriter) {
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"POLYLINE", 8, 0)), L"AcDb3dPolyline");
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"POLYLINE", 1, 0)), L"AcDb2dPolyline");
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"POLYLINE", 64, 0)), L"");
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"VERTEX", 32, 0)), L"AcDb3dPolylineVertex");
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"VERTEX", 128, 0)), L"");
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"INSERT", 3, 2)), L"AcDbMInsertBlock");
    EXPECT_EQ(std::wstring(khost::dxfEntityClass(L"INSERT", 0, 0)), L"AcDbBlockReference");
    EXPECT_EQ(khost::dxfEntityClass(L"LINE", 0, 0), nullptr);
    // The registry makes the classes by name; DXF names that two classes share give the 2D
    // polyline, its vertex and the single reference.
    std::unique_ptr<AcDbObject> o(khost::createDbObject(L"POLYLINE"));
    EXPECT_TRUE(AcDb2dPolyline::cast(o.get()));
    o.reset(khost::createDbObject(L"AcDb3dPolyline"));
    EXPECT_TRUE(AcDb3dPolyline::cast(o.get()));
    o.reset(khost::createDbObject(L"INSERT"));
    EXPECT_EQ(o->isA(), AcDbBlockReference::desc());
    for (const wchar_t* name : {L"LWPOLYLINE", L"CIRCLE", L"ARC", L"ELLIPSE", L"SPLINE", L"RAY",
                                L"XLINE", L"POINT", L"TEXT", L"MTEXT", L"ATTDEF", L"ATTRIB",
                                L"SEQEND", L"AcDbMInsertBlock", L"AcDb3dPolylineVertex"}) {
        o.reset(khost::createDbObject(name));
        EXPECT_TRUE(o) << khost::toUtf8(name);
    }

    // Linking: only sub-entities of the owner's kind.
    AcDbObjectId blk = addBlock(L"B");
    AcDbObjectId refId = add(new AcDbBlockReference(AcGePoint3d(), blk));
    auto* stray = new AcDb2dVertex;
    AcDbObjectId vid;
    db->addAcDbObject(vid, stray);
    stray->close();
    EXPECT_EQ(khost::linkSubEntity(refId, vid), Acad::eWrongObjectType);
    auto* att = new AcDbAttribute(AcGePoint3d(), L"v", L"T");
    AcDbObjectId aid;
    db->addAcDbObject(aid, att);
    khost::setOwnerRaw(att, refId);
    att->close();
    ASSERT_EQ(khost::linkSubEntity(refId, aid), Acad::eOk);
    ASSERT_EQ(khost::linkSubEntity(refId, aid), Acad::eOk); // twice in a row is once
    AcDbBlockReference* ref = nullptr;
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(iterate(ref->attributeIterator()), (std::vector<AcDbObjectId>{aid}));
    ref->close();
    AcDbObjectId lineId = add(new AcDbLine);
    EXPECT_EQ(khost::linkSubEntity(lineId, aid), Acad::eWrongObjectType);
    EXPECT_TRUE(khost::subEntityIds(khost::peekObject(lineId)).isEmpty());
}
