// Curves: write access and invalid values, polyline segments from bulges in the plane and in an
// elevated, tilted object coordinate system, reversal of every kind of curve, parameters and
// distances, and transformations.
#include "enttest.h"

#include "gemat3d.h"

#include <vector>

using namespace enttest;

namespace {

// A polyline with a straight segment, a counterclockwise half circle, a clockwise arc and a last
// vertex: (0,0) -> (10,0) -> (10,10) -> (0,10).
AcDbPolyline* samplePolyline() {
    auto* p = new AcDbPolyline;
    p->addVertexAt(0, AcGePoint2d(0, 0), 0.0, 0.5, 1.0);
    p->addVertexAt(1, AcGePoint2d(10, 0), 1.0, 1.0, 1.5);
    p->addVertexAt(2, AcGePoint2d(10, 10), -0.5, 1.5, 2.0);
    p->addVertexAt(3, AcGePoint2d(0, 10), 0.25, 2.0, 2.5);
    return p;
}

AcGePoint3d pointAt(const AcDbCurve* c, double param) {
    AcGePoint3d p;
    EXPECT_EQ(c->getPointAtParam(param, p), Acad::eOk) << param;
    return p;
}

} // namespace

using Curves = EntTest;

TEST_F(Curves, SettersRefuseWithoutWriteAccess) {
    AcDbObjectId pl = add(samplePolyline());
    AcDbObjectId circle = add(new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d::kZAxis, 4.0));
    AcDbObjectId arc = add(new AcDbArc(AcGePoint3d(), 2.0, 0.0, kPi / 2));
    AcDbObjectId ellipse =
        add(new AcDbEllipse(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5));
    AcDbObjectId point = add(new AcDbPoint(AcGePoint3d(5, 5, 5)));

    AcDbPolyline* p = nullptr;
    ASSERT_EQ(acdbOpenObject(p, pl, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(p->addVertexAt(0, AcGePoint2d(7, 7)), Acad::eNotOpenForWrite);
    EXPECT_EQ(p->setBulgeAt(0, 0.3), Acad::eNotOpenForWrite);
    EXPECT_EQ(p->removeVertexAt(0), Acad::eNotOpenForWrite);
    EXPECT_EQ(p->reverseCurve(), Acad::eNotOpenForWrite);
    EXPECT_EQ(p->transformBy(AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0))),
              Acad::eNotOpenForWrite);
    p->setClosed(true); // a void setter: the violation is recorded, nothing changes
    EXPECT_EQ(p->numVerts(), 4u);
    EXPECT_FALSE(p->isClosed());
    double b = 0.0;
    EXPECT_EQ(p->getBulgeAt(0, b), Acad::eOk);
    EXPECT_EQ(b, 0.0);
    p->close();
    EXPECT_EQ(khost::reportOpenObjects(L"check"), 1);
    EXPECT_NE(transcript().find(L"write to object not open for write: AcDbPolyline"),
              std::wstring::npos);

    AcDbCircle* c = nullptr;
    ASSERT_EQ(acdbOpenObject(c, circle, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(c->setRadius(9.0), Acad::eNotOpenForWrite);
    EXPECT_EQ(c->reverseCurve(), Acad::eNotOpenForWrite);
    EXPECT_EQ(c->radius(), 4.0);
    c->close();
    AcDbArc* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, arc, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(a->setStartAngle(1.0), Acad::eNotOpenForWrite);
    EXPECT_EQ(a->startAngle(), 0.0);
    a->close();
    AcDbEllipse* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, ellipse, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->setRadiusRatio(0.25), Acad::eNotOpenForWrite);
    EXPECT_EQ(e->radiusRatio(), 0.5);
    e->close();
    AcDbPoint* pt = nullptr;
    ASSERT_EQ(acdbOpenObject(pt, point, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pt->setPosition(AcGePoint3d()), Acad::eNotOpenForWrite);
    EXPECT_TRUE(nearPt(pt->position(), AcGePoint3d(5, 5, 5)));
    pt->close();
}

TEST_F(Curves, InvalidValuesAreRefused) {
    AcDbCircle c;
    EXPECT_EQ(c.setRadius(0.0), Acad::eInvalidInput);
    EXPECT_EQ(c.setRadius(-1.0), Acad::eInvalidInput);
    EXPECT_EQ(c.setNormal(AcGeVector3d()), Acad::eInvalidInput);
    EXPECT_EQ(c.setDiameter(6.0), Acad::eOk);
    EXPECT_DOUBLE_EQ(c.radius(), 3.0);

    AcDbEllipse e;
    EXPECT_EQ(e.setRadiusRatio(1.5), Acad::eInvalidInput);
    EXPECT_EQ(e.set(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(0, 0, 2), 0.5),
              Acad::eInvalidInput); // the axis is not in the plane

    AcDbPolyline p;
    p.addVertexAt(0, AcGePoint2d(0, 0));
    AcGePoint2d q;
    EXPECT_EQ(p.getPointAt(1, q), Acad::eInvalidIndex);
    EXPECT_EQ(p.setBulgeAt(3, 1.0), Acad::eInvalidIndex);
    EXPECT_EQ(p.setWidthsAt(0, -1.0, 0.0), Acad::eInvalidInput);
    EXPECT_EQ(p.removeVertexAt(1), Acad::eInvalidIndex);
    AcGeLineSeg2d seg;
    EXPECT_EQ(p.getLineSegAt(1, seg), Acad::eInvalidIndex);

    AcDbSpline s;
    AcGePoint3dArray ctrl{AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(2, 0, 0)};
    AcGeDoubleArray shortKnots{0, 0, 1, 1};
    EXPECT_EQ(s.setNurbsData(2, false, false, false, ctrl, shortKnots, AcGeDoubleArray()),
              Acad::eInvalidInput);
    AcGeDoubleArray falling{0, 0, 0, 1, 0.5, 1};
    EXPECT_EQ(s.setNurbsData(2, false, false, false, ctrl, falling, AcGeDoubleArray()),
              Acad::eInvalidInput);

    AcDbRay r;
    EXPECT_EQ(r.setUnitDir(AcGeVector3d()), Acad::eInvalidInput);
    EXPECT_EQ(r.setSecondPoint(AcGePoint3d(0, 3, 4)), Acad::eOk);
    EXPECT_TRUE(nearVec(r.unitDir(), AcGeVector3d(0, 0.6, 0.8)));
}

TEST_F(Curves, PolylineSegmentsFromBulges) {
    std::unique_ptr<AcDbPolyline> p(samplePolyline());
    EXPECT_EQ(p->segType(0), AcDbPolyline::kLine);
    EXPECT_EQ(p->segType(1), AcDbPolyline::kArc);
    EXPECT_EQ(p->segType(2), AcDbPolyline::kArc);
    EXPECT_EQ(p->segType(3), AcDbPolyline::kPoint); // the end of an open polyline
    EXPECT_EQ(p->segType(4), AcDbPolyline::kEmpty);

    AcGeLineSeg2d ln;
    ASSERT_EQ(p->getLineSegAt(0, ln), Acad::eOk);
    EXPECT_TRUE(nearPt(ln.startPoint(), AcGePoint2d(0, 0)));
    EXPECT_TRUE(nearPt(ln.endPoint(), AcGePoint2d(10, 0)));
    ASSERT_EQ(p->getLineSegAt(3, ln), Acad::eOk);
    EXPECT_TRUE(nearPt(ln.startPoint(), ln.endPoint()));

    AcGeCircArc2d arc;
    EXPECT_EQ(p->getArcSegAt(0, arc), Acad::eNotApplicable);
    ASSERT_EQ(p->getArcSegAt(1, arc), Acad::eOk);
    EXPECT_TRUE(nearPt(arc.center(), AcGePoint2d(10, 5)));
    EXPECT_NEAR(arc.radius(), 5.0, 1e-12);
    EXPECT_TRUE(nearPt(arc.startPoint(), AcGePoint2d(10, 0)));
    EXPECT_TRUE(nearPt(arc.endPoint(), AcGePoint2d(10, 10)));
    EXPECT_TRUE(nearPt(arc.midPoint(), AcGePoint2d(15, 5))); // counterclockwise: bulging right
    ASSERT_EQ(p->getArcSegAt(2, arc), Acad::eOk);
    EXPECT_TRUE(arc.isClockWise());
    EXPECT_TRUE(nearPt(arc.startPoint(), AcGePoint2d(10, 10)));
    EXPECT_TRUE(nearPt(arc.endPoint(), AcGePoint2d(0, 10)));
    EXPECT_LT(arc.midPoint().y, 10.0); // clockwise from (10,10) to (0,10): below the chord

    // Parameters are vertex indices; along an arc they grow with the angle.
    double end = 0.0;
    ASSERT_EQ(p->getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 3.0);
    EXPECT_TRUE(nearPt(pointAt(p.get(), 1.5), AcGePoint3d(15, 5, 0)));
    double param = 0.0;
    ASSERT_EQ(p->getParamAtPoint(AcGePoint3d(15, 5, 0), param), Acad::eOk);
    EXPECT_NEAR(param, 1.5, 1e-9);
    EXPECT_EQ(p->getParamAtPoint(AcGePoint3d(12, 5, 0), param), Acad::eInvalidInput);
    double dist = 0.0;
    ASSERT_EQ(p->getDistAtParam(2.0, dist), Acad::eOk);
    EXPECT_NEAR(dist, 10.0 + 5.0 * kPi, 1e-9);
    AcGePoint3d onCurve;
    ASSERT_EQ(p->getClosestPointTo(AcGePoint3d(20, 5, 7), onCurve), Acad::eOk);
    EXPECT_TRUE(nearPt(onCurve, AcGePoint3d(15, 5, 0)));

    // Closing adds the segment back to the first vertex.
    p->setClosed(true);
    EXPECT_EQ(p->segType(3), AcDbPolyline::kArc);
    ASSERT_EQ(p->getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 4.0);
    AcGePoint3d ep;
    ASSERT_EQ(p->getEndPoint(ep), Acad::eOk);
    EXPECT_TRUE(nearPt(ep, AcGePoint3d(0, 0, 0)));

    // Coincident vertices, a single vertex, none.
    AcDbPolyline q;
    EXPECT_EQ(q.segType(0), AcDbPolyline::kEmpty);
    q.addVertexAt(0, AcGePoint2d(1, 1));
    EXPECT_EQ(q.segType(0), AcDbPolyline::kPoint);
    q.addVertexAt(1, AcGePoint2d(1, 1), 0.5);
    EXPECT_EQ(q.segType(0), AcDbPolyline::kCoincident);
}

TEST_F(Curves, PolylineSegmentsInAnElevatedTiltedPlane) {
    std::unique_ptr<AcDbPolyline> p(samplePolyline());
    const AcGeVector3d n = AcGeVector3d(1, -2, 2).normal();
    ASSERT_EQ(p->setNormal(n), Acad::eOk);
    p->setElevation(3.0);
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(n);

    std::vector<AcGePoint3d> w;
    for (unsigned i = 0; i < 4; ++i) {
        AcGePoint2d p2;
        AcGePoint3d p3;
        ASSERT_EQ(p->getPointAt(i, p2), Acad::eOk);
        ASSERT_EQ(p->getPointAt(i, p3), Acad::eOk);
        EXPECT_TRUE(nearPt(p3, toWorld * AcGePoint3d(p2.x, p2.y, 3.0)));
        EXPECT_NEAR(p3.asVector().dotProduct(n), 3.0, 1e-12); // in the elevated plane
        w.push_back(p3);
    }
    AcGeLineSeg3d ln;
    ASSERT_EQ(p->getLineSegAt(0, ln), Acad::eOk);
    EXPECT_TRUE(nearPt(ln.startPoint(), w[0]));
    EXPECT_TRUE(nearPt(ln.endPoint(), w[1]));
    EXPECT_NEAR(ln.length(), 10.0, 1e-12);

    // A counterclockwise arc keeps the polyline's normal; the clockwise one reverses it. Both
    // run from their segment's start to its end.
    AcGeCircArc3d arc;
    ASSERT_EQ(p->getArcSegAt(1, arc), Acad::eOk);
    EXPECT_TRUE(nearVec(arc.normal(), n));
    EXPECT_NEAR(arc.radius(), 5.0, 1e-12);
    EXPECT_TRUE(nearPt(arc.startPoint(), w[1]));
    EXPECT_TRUE(nearPt(arc.endPoint(), w[2]));
    EXPECT_TRUE(nearPt(arc.center(), toWorld * AcGePoint3d(10, 5, 3)));
    EXPECT_TRUE(nearPt(arc.evalPoint(0.5 * (arc.startAng() + arc.endAng())),
                       toWorld * AcGePoint3d(15, 5, 3)));
    ASSERT_EQ(p->getArcSegAt(2, arc), Acad::eOk);
    EXPECT_TRUE(nearVec(arc.normal(), -n));
    EXPECT_TRUE(nearPt(arc.startPoint(), w[2]));
    EXPECT_TRUE(nearPt(arc.endPoint(), w[3]));
    AcGeCircArc2d arc2;
    ASSERT_EQ(p->getArcSegAt(2, arc2), Acad::eOk);
    AcGePoint2d mid = arc2.midPoint();
    EXPECT_TRUE(nearPt(arc.evalPoint(0.5 * (arc.startAng() + arc.endAng())),
                       toWorld * AcGePoint3d(mid.x, mid.y, 3.0)));

    // Curve queries answer in world coordinates.
    EXPECT_TRUE(nearPt(pointAt(p.get(), 1.5), toWorld * AcGePoint3d(15, 5, 3)));
    double param = 0.0;
    ASSERT_EQ(p->getParamAtPoint(toWorld * AcGePoint3d(5, 0, 3), param), Acad::eOk);
    EXPECT_NEAR(param, 0.5, 1e-9);
}

TEST_F(Curves, PolylineReversalMovesBulgesAndWidthsWithTheirSegments) {
    for (bool closed : {false, true}) {
        SCOPED_TRACE(closed ? "closed" : "open");
        std::unique_ptr<AcDbPolyline> p(samplePolyline());
        p->setClosed(closed);
        p->setVertexIdentifierAt(0, 11);
        std::unique_ptr<AcDbPolyline> old(samplePolyline());
        old->setClosed(closed);
        ASSERT_EQ(p->reverseCurve(), Acad::eOk);

        const unsigned n = 4;
        const double bulges[] = {0.0, 1.0, -0.5, 0.25};
        const double sw[] = {0.5, 1.0, 1.5, 2.0}, ew[] = {1.0, 1.5, 2.0, 2.5};
        for (unsigned i = 0; i < n; ++i) {
            AcGePoint2d a, b;
            p->getPointAt(i, a);
            old->getPointAt(n - 1 - i, b);
            EXPECT_TRUE(nearPt(a, b)) << i;
            // Segment i of the reversed polyline is old segment n-2-i (the last keeps its own).
            unsigned seg = i + 1 < n ? n - 2 - i : n - 1;
            double bulge = 0.0, s = 0.0, e = 0.0;
            p->getBulgeAt(i, bulge);
            p->getWidthsAt(i, s, e);
            EXPECT_EQ(bulge, -bulges[seg]) << i;
            EXPECT_EQ(s, ew[seg]) << i;
            EXPECT_EQ(e, sw[seg]) << i;
        }
        Adesk::Int32 id = 0;
        p->getVertexIdentifierAt(3, id);
        EXPECT_EQ(id, 11);
        // The same points in the opposite direction.
        double endOld = 0.0, endNew = 0.0, lenOld = 0.0, lenNew = 0.0;
        old->getEndParam(endOld);
        p->getEndParam(endNew);
        old->getDistAtParam(endOld, lenOld);
        p->getDistAtParam(endNew, lenNew);
        EXPECT_NEAR(lenOld, lenNew, 1e-9);
        for (double t : {0.0, 0.25, 1.5, 2.75, endNew}) {
            double mirrored =
                closed ? std::fmod(n - 1 - t + n, static_cast<double>(n)) : (n - 1) - t;
            EXPECT_TRUE(nearPt(pointAt(p.get(), t), pointAt(old.get(), mirrored))) << t;
        }
        ASSERT_EQ(p->reverseCurve(), Acad::eOk);
        for (unsigned i = 0; i < n; ++i) {
            double a = 0.0, b = 0.0;
            p->getBulgeAt(i, a);
            old->getBulgeAt(i, b);
            EXPECT_EQ(a, b);
        }
    }
}

TEST_F(Curves, ReversalOfTheOtherKinds) {
    AcDbLine line(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
    ASSERT_EQ(line.reverseCurve(), Acad::eOk);
    EXPECT_TRUE(nearPt(line.startPoint(), AcGePoint3d(4, 5, 6)));
    EXPECT_TRUE(nearPt(line.endPoint(), AcGePoint3d(1, 2, 3)));

    // An arc runs back from its old end over the same points, about the reversed normal.
    AcDbArc arc(AcGePoint3d(1, 1, 2), AcGeVector3d(0, 1, 1), 3.0, 0.5, 2.0);
    AcGePoint3d s0, e0, s1, e1;
    arc.getStartPoint(s0);
    arc.getEndPoint(e0);
    AcGePoint3d mid = pointAt(&arc, 1.25);
    ASSERT_EQ(arc.reverseCurve(), Acad::eOk);
    arc.getStartPoint(s1);
    arc.getEndPoint(e1);
    EXPECT_TRUE(nearPt(s1, e0));
    EXPECT_TRUE(nearPt(e1, s0));
    EXPECT_TRUE(nearVec(arc.normal(), -AcGeVector3d(0, 1, 1).normal()));
    EXPECT_NEAR(arc.totalAngle(), 1.5, 1e-12);
    double ps = 0.0, pe = 0.0;
    arc.getStartParam(ps);
    arc.getEndParam(pe);
    EXPECT_TRUE(nearPt(pointAt(&arc, 0.5 * (ps + pe)), mid));

    // A circle runs the other way round: clockwise seen from its old normal.
    AcDbCircle circle(AcGePoint3d(0, 0, 1), AcGeVector3d::kZAxis, 2.0);
    auto turn = [&] {
        AcGeVector3d a = pointAt(&circle, 0.0) - circle.center();
        AcGeVector3d b = pointAt(&circle, 0.1) - circle.center();
        return a.crossProduct(b).z;
    };
    EXPECT_GT(turn(), 0.0);
    ASSERT_EQ(circle.reverseCurve(), Acad::eOk);
    EXPECT_TRUE(nearVec(circle.normal(), -AcGeVector3d::kZAxis));
    EXPECT_LT(turn(), 0.0);
    EXPECT_NEAR(pointAt(&circle, 1.0).distanceTo(AcGePoint3d(0, 0, 1)), 2.0, 1e-12);

    AcDbEllipse ell(AcGePoint3d(2, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5, 0.25,
                    2.5);
    ell.getStartPoint(s0);
    ell.getEndPoint(e0);
    double es = 0.0, ee = 0.0;
    ell.getStartParam(es);
    ell.getEndParam(ee);
    mid = pointAt(&ell, 0.5 * (es + ee));
    ASSERT_EQ(ell.reverseCurve(), Acad::eOk);
    ell.getStartPoint(s1);
    ell.getEndPoint(e1);
    EXPECT_TRUE(nearPt(s1, e0));
    EXPECT_TRUE(nearPt(e1, s0));
    ell.getStartParam(es);
    ell.getEndParam(ee);
    EXPECT_TRUE(nearPt(pointAt(&ell, 0.5 * (es + ee)), mid));

    // A rational quadratic spline: control points and weights reversed, knots mirrored.
    AcGePoint3dArray ctrl{AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0),
                          AcGePoint3d(-2, 3, 1)};
    AcGeDoubleArray knots{0, 0, 0, 1, 3, 3, 3};
    AcGeDoubleArray weights{1, 0.5, 1, 2};
    AcDbSpline sp(2, true, false, false, ctrl, knots, weights);
    AcGePoint3d at1 = pointAt(&sp, 1.0), at2 = pointAt(&sp, 2.2);
    ASSERT_EQ(sp.reverseCurve(), Acad::eOk);
    int degree = 0;
    bool rational = false, closed = false, periodic = false;
    AcGePoint3dArray c2;
    AcGeDoubleArray k2, w2;
    double ct = 0, kt = 0;
    sp.getNurbsData(degree, rational, closed, periodic, c2, k2, w2, ct, kt);
    EXPECT_TRUE(rational);
    EXPECT_TRUE(nearPt(c2[0], AcGePoint3d(-2, 3, 1)));
    EXPECT_EQ(w2[0], 2.0);
    EXPECT_EQ(w2[2], 0.5);
    EXPECT_EQ(k2[3], 2.0);
    EXPECT_TRUE(nearPt(pointAt(&sp, 2.0), at1));
    EXPECT_TRUE(nearPt(pointAt(&sp, 0.8), at2));
    sp.getStartPoint(s1);
    EXPECT_TRUE(nearPt(s1, AcGePoint3d(-2, 3, 1)));

    AcDbXline x;
    x.setBasePoint(AcGePoint3d(1, 1, 1));
    x.setUnitDir(AcGeVector3d(0, 1, 0));
    ASSERT_EQ(x.reverseCurve(), Acad::eOk);
    EXPECT_TRUE(nearVec(x.unitDir(), AcGeVector3d(0, -1, 0)));
    AcDbRay ray;
    EXPECT_EQ(ray.reverseCurve(), Acad::eNotApplicable);
    EXPECT_EQ(ray.getEndPoint(s1), Acad::eNotApplicable);
}

TEST_F(Curves, SplinesAndRaysAnswerTheirPoints) {
    // A cubic Bezier segment.
    AcGePoint3dArray ctrl{AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 0), AcGePoint3d(3, 2, 1),
                          AcGePoint3d(4, 0, 0)};
    AcDbSpline bez(3, false, false, false, ctrl, AcGeDoubleArray{0, 0, 0, 0, 1, 1, 1, 1},
                   AcGeDoubleArray());
    EXPECT_TRUE(nearPt(pointAt(&bez, 0.5), AcGePoint3d(2, 1.5, 0.375)));
    AcGePoint3d p;
    bez.getEndPoint(p);
    EXPECT_TRUE(nearPt(p, AcGePoint3d(4, 0, 0)));
    EXPECT_EQ(bez.getPointAtParam(1.5, p), Acad::eInvalidInput);
    // A quarter of the unit circle as a rational quadratic.
    const double h = std::sqrt(0.5);
    AcDbSpline q(2, true, false, false,
                 AcGePoint3dArray{AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0)},
                 AcGeDoubleArray{0, 0, 0, 1, 1, 1}, AcGeDoubleArray{1, h, 1});
    EXPECT_NEAR(pointAt(&q, 0.3).asVector().length(), 1.0, 1e-12);
    double param = 0.0;
    ASSERT_EQ(q.getParamAtPoint(AcGePoint3d(h, h, 0), param), Acad::eOk);
    EXPECT_TRUE(nearPt(pointAt(&q, param), AcGePoint3d(h, h, 0), 1e-8));
    // A spline from fit points only answers for its ends.
    AcDbSpline fit(AcGePoint3dArray{AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0)});
    fit.getStartPoint(p);
    EXPECT_TRUE(nearPt(p, AcGePoint3d()));
    EXPECT_EQ(fit.getPointAtParam(0.5, p), Acad::eNotImplementedYet);

    AcDbRay ray;
    ray.setBasePoint(AcGePoint3d(1, 0, 0));
    ray.setUnitDir(AcGeVector3d(2, 0, 0));
    EXPECT_TRUE(nearPt(pointAt(&ray, 3.0), AcGePoint3d(4, 0, 0)));
    EXPECT_EQ(ray.getParamAtPoint(AcGePoint3d(-1, 0, 0), param), Acad::eInvalidInput);
    ray.getClosestPointTo(AcGePoint3d(-5, 3, 0), p);
    EXPECT_TRUE(nearPt(p, AcGePoint3d(1, 0, 0)));
    ray.getClosestPointTo(AcGePoint3d(-5, 3, 0), p, true);
    EXPECT_TRUE(nearPt(p, AcGePoint3d(-5, 0, 0)));

    // Ellipse angles and parameters, and its length as a circle.
    AcDbEllipse e(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5, kPi / 4, kPi);
    EXPECT_NEAR(e.startAngle(), kPi / 4, 1e-12);
    EXPECT_NEAR(e.startParam(), std::atan2(1.0, 0.5), 1e-12);
    EXPECT_FALSE(e.isClosed());
    e.getStartPoint(p);
    EXPECT_NEAR(std::atan2(p.y, p.x), kPi / 4, 1e-12);
    AcDbEllipse round(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(3, 0, 0), 1.0);
    EXPECT_TRUE(round.isClosed());
    double len = 0.0, end = 0.0;
    round.getEndParam(end);
    round.getDistAtParam(end, len);
    EXPECT_NEAR(len, 6 * kPi, 1e-3);
}

TEST_F(Curves, TransformationsKeepTheGeometry) {
    const AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(5, -3, 2)) *
                           AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 1, 0.5)) *
                           AcGeMatrix3d::scaling(2.0, AcGePoint3d(1, 1, 1));
    const AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePoint3d(3, 0, 0)) *
                                AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kXAxis);
    for (int k = 0; k < 2; ++k) {
        const AcGeMatrix3d& x = k == 0 ? m : mirror;
        const bool mirrored = k == 1;
        // A polyline: every point of the curve goes where the transformation takes it.
        std::unique_ptr<AcDbPolyline> before(samplePolyline()), p(samplePolyline());
        before->setElevation(1.5);
        p->setElevation(1.5);
        ASSERT_EQ(p->transformBy(x), Acad::eOk);
        for (double t : {0.0, 0.5, 1.3, 2.6, 3.0})
            EXPECT_TRUE(nearPt(pointAt(p.get(), t), x * pointAt(before.get(), t))) << t;
        double s = 0.0, e = 0.0;
        p->getWidthsAt(1, s, e);
        EXPECT_NEAR(s, 1.0 * x.scale(), 1e-12);
        EXPECT_NEAR(e, 1.5 * x.scale(), 1e-12);

        AcDbArc arc(AcGePoint3d(1, 2, 0), 2.0, 0.3, 2.0);
        AcGePoint3d s0, e0, s1, e1;
        arc.getStartPoint(s0);
        arc.getEndPoint(e0);
        AcGePoint3d mid = pointAt(&arc, 1.15);
        ASSERT_EQ(arc.transformBy(x), Acad::eOk);
        arc.getStartPoint(s1);
        arc.getEndPoint(e1);
        EXPECT_TRUE(nearPt(mirrored ? e1 : s1, x * s0));
        EXPECT_TRUE(nearPt(mirrored ? s1 : e1, x * e0));
        double ps = 0, pe = 0;
        arc.getStartParam(ps);
        arc.getEndParam(pe);
        EXPECT_TRUE(nearPt(pointAt(&arc, 0.5 * (ps + pe)), x * mid));

        AcDbEllipse ell(AcGePoint3d(2, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5,
                        0.25, 2.5);
        ell.getStartPoint(s0);
        ell.getEndPoint(e0);
        ASSERT_EQ(ell.transformBy(x), Acad::eOk);
        ell.getStartPoint(s1);
        ell.getEndPoint(e1);
        EXPECT_TRUE(nearPt(mirrored ? e1 : s1, x * s0));
        EXPECT_TRUE(nearPt(mirrored ? s1 : e1, x * e0));
    }
    AcDbCircle c(AcGePoint3d(), AcGeVector3d::kZAxis, 1.0);
    EXPECT_EQ(c.transformBy(AcGeMatrix3d::scaling(AcGeScale3d(1, 2, 1))),
              Acad::eCannotScaleNonUniformly);
    std::unique_ptr<AcDbPolyline> p(samplePolyline());
    EXPECT_EQ(p->transformBy(AcGeMatrix3d::scaling(AcGeScale3d(1, 2, 1))),
              Acad::eCannotScaleNonUniformly);
    // Splines take any affine map.
    AcDbSpline sp(
        2, false, false, false,
        AcGePoint3dArray{AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(2, 0, 0)},
        AcGeDoubleArray{0, 0, 0, 1, 1, 1}, AcGeDoubleArray());
    AcGePoint3d mid = pointAt(&sp, 0.5);
    const AcGeMatrix3d sx = AcGeMatrix3d::scaling(AcGeScale3d(3, 1, 1));
    ASSERT_EQ(sp.transformBy(sx), Acad::eOk);
    EXPECT_TRUE(nearPt(pointAt(&sp, 0.5), sx * mid));
}
