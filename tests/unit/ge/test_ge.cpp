// Geometry library: transformations, straight entities, arcs and tolerances.
#include "acgeall.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEps = 1e-9;

#define EXPECT_PT3(p, ex, ey, ez)                                                                  \
    do {                                                                                           \
        AcGePoint3d p_ = (p);                                                                      \
        EXPECT_NEAR(p_.x, (ex), kEps);                                                             \
        EXPECT_NEAR(p_.y, (ey), kEps);                                                             \
        EXPECT_NEAR(p_.z, (ez), kEps);                                                             \
    } while (0)

#define EXPECT_PT2(p, ex, ey)                                                                      \
    do {                                                                                           \
        AcGePoint2d p_ = (p);                                                                      \
        EXPECT_NEAR(p_.x, (ex), kEps);                                                             \
        EXPECT_NEAR(p_.y, (ey), kEps);                                                             \
    } while (0)

AcGeTol tolerance(double t) {
    AcGeTol tol;
    tol.setEqualPoint(t);
    tol.setEqualVector(t);
    return tol;
}

} // namespace

TEST(GeTolerance, DefaultsAndPointVectorEquality) {
    AcGeTol tol;
    EXPECT_EQ(tol.equalPoint(), 1e-10);
    EXPECT_EQ(tol.equalVector(), 1e-10);
    EXPECT_EQ(AcGeContext::gTol.equalPoint(), 1e-10);

    AcGePoint3d a(1, 2, 3);
    EXPECT_TRUE(a.isEqualTo(AcGePoint3d(1, 2, 3 + 1e-11)));
    EXPECT_FALSE(a.isEqualTo(AcGePoint3d(1, 2, 3.001)));
    EXPECT_TRUE(a.isEqualTo(AcGePoint3d(1, 2, 3.001), tolerance(0.01)));
    EXPECT_TRUE(a == AcGePoint3d(1, 2, 3));
    EXPECT_TRUE(AcGeVector2d(1, 0) != AcGeVector2d(1, 1e-6));
    EXPECT_DOUBLE_EQ(AcGePoint2d(0, 0).distanceTo(AcGePoint2d(3, 4)), 5.0);
    AcGeVector3d v(0, 3, 4);
    EXPECT_DOUBLE_EQ(v.length(), 5.0);
    EXPECT_DOUBLE_EQ(v.lengthSqrd(), 25.0);
    EXPECT_TRUE(v.normal().isUnitLength());
    // A zero vector stays zero when normalized.
    EXPECT_TRUE(AcGeVector3d::kIdentity.normal().isZeroLength());
    EXPECT_EQ(a[0], 1.0);
    EXPECT_EQ(a[2], 3.0);
    a[1] = 7.0;
    EXPECT_EQ(a.y, 7.0);
}

TEST(GeVector, AngleTo2dRunsCounterclockwiseInZeroToTwoPi) {
    AcGeVector2d x(1, 0), y(0, 1);
    EXPECT_NEAR(x.angleTo(y), kPi / 2, kEps);
    EXPECT_NEAR(y.angleTo(x), 3 * kPi / 2, kEps);
    EXPECT_NEAR(x.angleTo(-x), kPi, kEps);
    EXPECT_EQ(x.angleTo(x), 0.0);
    // Just clockwise of the X axis: close to, but below, a full turn.
    double a = x.angleTo(AcGeVector2d(1, -1e-12));
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 2 * kPi);
    EXPECT_NEAR(AcGeVector2d(0, -2).angle(), 3 * kPi / 2, kEps);
    EXPECT_NEAR(AcGeVector2d(-1, -1).angle(), 5 * kPi / 4, kEps);
    EXPECT_DOUBLE_EQ(AcGeVector2d(2, 3).crossProduct(AcGeVector2d(4, 5)), -2.0);
    AcGeVector2d r = x;
    r.rotateBy(kPi / 2);
    EXPECT_TRUE(r.isEqualTo(y));
}

TEST(GeVector, AngleTo3dAndDirectionTests) {
    AcGeVector3d x = AcGeVector3d::kXAxis, y = AcGeVector3d::kYAxis, z = AcGeVector3d::kZAxis;
    EXPECT_NEAR(y.angleTo(x), kPi / 2, kEps);
    EXPECT_NEAR(x.angleTo(y, z), kPi / 2, kEps);
    EXPECT_NEAR(y.angleTo(x, z), 3 * kPi / 2, kEps);
    EXPECT_NEAR(y.angleTo(x, -z), kPi / 2, kEps);
    EXPECT_TRUE(x.crossProduct(y).isEqualTo(z));

    AcGeTol tol = tolerance(0.01);
    AcGeVector3d slight(1, 0.005, 0);
    EXPECT_TRUE(x.isParallelTo(slight, tol));
    EXPECT_TRUE(x.isParallelTo(-slight, tol));
    EXPECT_FALSE(x.isParallelTo(AcGeVector3d(1, 0.05, 0), tol));
    EXPECT_FALSE(x.isParallelTo(slight)); // the default tolerance is tight
    EXPECT_TRUE(x.isCodirectionalTo(slight * 5, tol));
    EXPECT_FALSE(x.isCodirectionalTo(-slight, tol));
    EXPECT_TRUE(x.isPerpendicularTo(AcGeVector3d(0.005, 1, 3), tol));
    EXPECT_FALSE(x.isParallelTo(AcGeVector3d::kIdentity));

    AcGeVector3d v(1, 0, 0);
    v.rotateBy(kPi / 2, z);
    EXPECT_TRUE(v.isEqualTo(y));
    EXPECT_TRUE(AcGeVector3d(3, 4, 5).orthoProject(z).isEqualTo(AcGeVector3d(3, 4, 0)));
    AcGeVector3d m(1, 2, 3);
    EXPECT_TRUE(m.mirror(z).isEqualTo(AcGeVector3d(1, 2, -3)));
}

TEST(GeMatrix3d, InverseAndCompositionRoundTrips) {
    AcGeMatrix3d t = AcGeMatrix3d::translation(AcGeVector3d(5, -2, 7));
    AcGeMatrix3d r = AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 2, 3), AcGePoint3d(1, 1, 1));
    AcGeMatrix3d s = AcGeMatrix3d::scaling(AcGeScale3d(2, 3, 0.5), AcGePoint3d(-4, 0, 2));
    AcGeMatrix3d m = t * r * s;

    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE((m.inverse() * m).isEqualTo(AcGeMatrix3d::kIdentity));
    AcGeMatrix3d inv = m;
    inv.invert();
    EXPECT_TRUE(inv.isEqualTo(m.inverse()));

    // The product applies the right-hand factor first.
    AcGePoint3d p(3, -1, 2);
    AcGePoint3d q = p;
    q.transformBy(s).transformBy(r).transformBy(t);
    EXPECT_TRUE((m * p).isEqualTo(q));
    AcGePoint3d back = m * p;
    back.transformBy(m.inverse());
    EXPECT_TRUE(back.isEqualTo(p));

    AcGeMatrix3d pre = s, post = s;
    pre.preMultBy(t);
    post.postMultBy(t);
    EXPECT_TRUE(pre.isEqualTo(t * s));
    EXPECT_TRUE(post.isEqualTo(s * t));
    EXPECT_FALSE(pre.isEqualTo(post));

    EXPECT_NEAR(m.det(), 2 * 3 * 0.5, 1e-9);
    EXPECT_FALSE(m.isSingular());
    EXPECT_TRUE(m.transpose().transpose().isEqualTo(m));
    EXPECT_TRUE(m.translation().isEqualTo(m.getTranslation()));

    // A projection cannot be inverted: invert leaves it as it was.
    AcGeMatrix3d flat = AcGeMatrix3d::projection(AcGePlane::kXYPlane, AcGeVector3d::kZAxis);
    EXPECT_TRUE(flat.isSingular());
    AcGeMatrix3d flatInv;
    EXPECT_FALSE(flat.inverse(flatInv, 1e-12));
    AcGeMatrix3d same = flat;
    EXPECT_TRUE(same.invert().isEqualTo(flat));
    EXPECT_PT3(flat * AcGePoint3d(1, 2, 3), 1, 2, 0);

    // Vectors ignore the translation.
    EXPECT_TRUE((t * AcGeVector3d(1, 0, 0)).isEqualTo(AcGeVector3d(1, 0, 0)));
}

TEST(GeMatrix3d, RotationScalingAndMirroringAboutACenter) {
    AcGePoint3d c(1, 1, 0);
    AcGeMatrix3d r = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, c);
    EXPECT_PT3(r * AcGePoint3d(2, 1, 0), 1, 2, 0);
    EXPECT_PT3(r * AcGePoint3d(2, 1, 5), 1, 2, 5);
    EXPECT_PT3(r * c, 1, 1, 0);
    AcGePoint3d p(2, 1, 0);
    p.rotateBy(kPi, AcGeVector3d::kZAxis, c);
    EXPECT_PT3(p, 0, 1, 0);
    EXPECT_TRUE(r.isUniScaledOrtho());
    EXPECT_NEAR(r.scale(), 1.0, kEps);

    AcGeMatrix3d s = AcGeMatrix3d::scaling(3.0, c);
    EXPECT_PT3(s * AcGePoint3d(2, 1, 0), 4, 1, 0);
    EXPECT_PT3(s * c, 1, 1, 0);
    EXPECT_TRUE((r * s).isUniScaledOrtho());
    EXPECT_NEAR((r * s).scale(), 3.0, kEps);
    EXPECT_FALSE(AcGeMatrix3d::scaling(AcGeScale3d(1, 2, 1)).isUniScaledOrtho());
    EXPECT_TRUE(AcGeMatrix3d::scaling(AcGeScale3d(1, 2, 1)).isScaledOrtho());

    AcGePlane plane(AcGePoint3d(0, 0, 2), AcGeVector3d::kZAxis);
    AcGeMatrix3d mir = AcGeMatrix3d::mirroring(plane);
    EXPECT_PT3(mir * AcGePoint3d(1, 2, 5), 1, 2, -1);
    EXPECT_LT(mir.det(), 0.0);
    EXPECT_PT3(AcGeMatrix3d::mirroring(AcGePoint3d(1, 1, 1)) * AcGePoint3d(2, 3, 4), 0, -1, -2);
    AcGeLine3d zLine(AcGePoint3d(1, 0, 0), AcGeVector3d::kZAxis);
    EXPECT_PT3(AcGeMatrix3d::mirroring(zLine) * AcGePoint3d(3, 2, 7), -1, -2, 7);

    AcGeScale3d sc;
    sc.extractScale(AcGeMatrix3d::scaling(AcGeScale3d(2, 3, 4)) * mir);
    EXPECT_NEAR(sc.sx, -2, kEps);
    EXPECT_NEAR(sc.sy, 3, kEps);
    EXPECT_NEAR(sc.sz, 4, kEps);
    AcGeMatrix3d scaled = r * AcGeMatrix3d::scaling(AcGeScale3d(2, 5, 1));
    AcGeScale3d removed;
    removed.removeScale(scaled);
    EXPECT_NEAR(removed.sy, 5, kEps);
    EXPECT_TRUE(scaled.isUniScaledOrtho());
    EXPECT_NEAR(scaled.scale(), 1.0, kEps);
}

TEST(GeMatrix3d, CoordinateSystemsAndAlignment) {
    AcGePoint3d o(10, 20, 30);
    AcGeVector3d x(0, 1, 0), y(-1, 0, 0), z(0, 0, 1);
    AcGeMatrix3d cs;
    cs.setCoordSystem(o, x, y, z);
    EXPECT_PT3(cs * AcGePoint3d(1, 0, 0), 10, 21, 30);
    EXPECT_PT3(cs * AcGePoint3d(0, 2, 0), 8, 20, 30);
    AcGePoint3d go;
    AcGeVector3d gx, gy, gz;
    cs.getCoordSystem(go, gx, gy, gz);
    EXPECT_TRUE(go.isEqualTo(o) && gx.isEqualTo(x) && gy.isEqualTo(y) && gz.isEqualTo(z));

    // From a tilted system to another one: each from-axis lands on the matching to-axis.
    AcGePoint3d fo(1, 2, 3);
    AcGeVector3d fx = AcGeVector3d(1, 1, 0).normal(), fy = AcGeVector3d(-1, 1, 0).normal();
    AcGeVector3d fz = fx.crossProduct(fy);
    AcGeMatrix3d a = AcGeMatrix3d::alignCoordSys(fo, fx, fy, fz, o, x, y, z);
    EXPECT_PT3(a * fo, 10, 20, 30);
    EXPECT_TRUE((a * (fo + fx)).isEqualTo(o + x));
    EXPECT_TRUE((a * (fo + fy * 2)).isEqualTo(o + y * 2));
    EXPECT_TRUE((a * fz).isEqualTo(z));
    AcGeMatrix3d back = AcGeMatrix3d::alignCoordSys(o, x, y, z, fo, fx, fy, fz);
    EXPECT_TRUE((back * a).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE(
        AcGeMatrix3d::alignCoordSys(o, x, y, z, o, x, y, z).isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST(GeMatrix3d, ArbitraryAxisAlgorithm) {
    AcGeVector3d ax, ay;
    acgeArbitraryAxes(AcGeVector3d::kZAxis, ax, ay);
    EXPECT_TRUE(ax.isEqualTo(AcGeVector3d::kXAxis));
    EXPECT_TRUE(ay.isEqualTo(AcGeVector3d::kYAxis));
    // The mirrored drawing plane has its X axis pointing to world -X.
    acgeArbitraryAxes(-AcGeVector3d::kZAxis, ax, ay);
    EXPECT_TRUE(ax.isEqualTo(AcGeVector3d(-1, 0, 0)));
    EXPECT_TRUE(ay.isEqualTo(AcGeVector3d::kYAxis));

    // Near Z (both X and Y of the normal below 1/64): X = world Y x N.
    AcGeVector3d nearZ = AcGeVector3d(0.01, 0.012, 1).normal();
    acgeArbitraryAxes(nearZ, ax, ay);
    AcGeVector3d expect = AcGeVector3d(nearZ.z, 0, -nearZ.x).normal();
    EXPECT_TRUE(ax.isEqualTo(expect));
    EXPECT_TRUE(ay.isEqualTo(nearZ.crossProduct(ax).normal()));
    // Just past the limit the other rule applies: X = world Z x N, which has no Z part.
    AcGeVector3d past = AcGeVector3d(0.02, 0.0, 1).normal();
    acgeArbitraryAxes(past, ax, ay);
    EXPECT_NEAR(ax.z, 0.0, kEps);
    EXPECT_TRUE(ax.isEqualTo(AcGeVector3d::kYAxis));

    AcGeVector3d tilted = AcGeVector3d(1, 1, 1).normal();
    AcGeMatrix3d p2w = AcGeMatrix3d::planeToWorld(tilted);
    EXPECT_TRUE((p2w * AcGeVector3d::kXAxis).isEqualTo(AcGeVector3d(-1, 1, 0).normal()));
    EXPECT_TRUE((p2w * AcGeVector3d::kZAxis).isEqualTo(tilted));
    EXPECT_TRUE((p2w * AcGeVector3d::kYAxis)
                    .isEqualTo(tilted.crossProduct(AcGeVector3d(-1, 1, 0).normal())));
    EXPECT_TRUE(p2w.isUniScaledOrtho());
    EXPECT_NEAR(p2w.det(), 1.0, kEps);
    EXPECT_TRUE((AcGeMatrix3d::worldToPlane(tilted) * p2w).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE(tilted.perpVector().isEqualTo(AcGeVector3d(-1, 1, 0).normal()));
    // The normal's length does not matter.
    EXPECT_TRUE(AcGeMatrix3d::planeToWorld(tilted * 7).isEqualTo(p2w));

    // A plane keeps its elevation: its point nearest to the world origin becomes the origin.
    AcGePlane pl(AcGePoint3d(5, 0, 3), AcGeVector3d::kZAxis);
    EXPECT_PT3(AcGeMatrix3d::planeToWorld(pl) * AcGePoint3d(1, 2, 0), 1, 2, 3);
    EXPECT_PT3(AcGeMatrix3d::worldToPlane(pl) * AcGePoint3d(1, 2, 3), 1, 2, 0);
}

TEST(GeMatrix2d, TransformsOfThePlane) {
    AcGeMatrix2d r = AcGeMatrix2d::rotation(kPi / 2, AcGePoint2d(1, 1));
    EXPECT_PT2(r * AcGePoint2d(2, 1), 1, 2);
    AcGeMatrix2d m = AcGeMatrix2d::translation(AcGeVector2d(3, 4)) * r *
                     AcGeMatrix2d::scaling(2.0, AcGePoint2d(0, 1));
    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix2d::kIdentity));
    EXPECT_TRUE(m.isUniScaledOrtho());
    EXPECT_NEAR(m.scale(), 2.0, kEps);
    AcGeMatrix2d mir = AcGeMatrix2d::mirroring(AcGeLine2d(AcGePoint2d(0, 1), AcGeVector2d(1, 1)));
    EXPECT_PT2(mir * AcGePoint2d(0, 0), -1, 1);
    EXPECT_LT(mir.det(), 0.0);
    AcGeMatrix2d al =
        AcGeMatrix2d::alignCoordSys(AcGePoint2d(1, 0), AcGeVector2d(0, 1), AcGeVector2d(-1, 0),
                                    AcGePoint2d(0, 0), AcGeVector2d(1, 0), AcGeVector2d(0, 1));
    EXPECT_PT2(al * AcGePoint2d(1, 2), 2, 0);
    AcGePoint2d p(3, 1);
    p.rotateBy(kPi, AcGePoint2d(1, 1));
    EXPECT_PT2(p, -1, 1);
    AcGeVector2d v(1, 2);
    v.transformBy(AcGeMatrix2d::translation(AcGeVector2d(5, 5)));
    EXPECT_TRUE(v.isEqualTo(AcGeVector2d(1, 2)));
}

TEST(GeLine, CollinearWithinTolerance) {
    AcGeTol tol = tolerance(0.02);
    AcGeLine2d base(AcGePoint2d(0, 0), AcGePoint2d(10, 0));
    AcGeLine2d near(AcGePoint2d(20, 0.01), AcGePoint2d(35, 0.01));
    AcGeLine2d far(AcGePoint2d(20, 0.03), AcGePoint2d(35, 0.03));
    EXPECT_TRUE(base.isColinearTo(near, tol));
    EXPECT_TRUE(near.isColinearTo(base, tol));
    EXPECT_FALSE(base.isColinearTo(far, tol));
    EXPECT_FALSE(far.isColinearTo(base, tol));
    EXPECT_FALSE(base.isColinearTo(near)); // not with the default tolerance
    EXPECT_TRUE(base.isParallelTo(far, tol));
    // Reversed direction still lies on the same line.
    AcGeLineSeg2d back(AcGePoint2d(50, 0.005), AcGePoint2d(40, 0.005));
    EXPECT_TRUE(base.isColinearTo(back, tol));
    // Through the same point but turned by 0.1 rad: not parallel.
    AcGeLine2d turned(AcGePoint2d(0, 0), AcGeVector2d(std::cos(0.1), std::sin(0.1)));
    EXPECT_FALSE(base.isColinearTo(turned, tol));

    // The same in space, and with a lifted line.
    AcGeLineSeg3d a(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    AcGeLineSeg3d b(AcGePoint3d(12, 0.01, 0), AcGePoint3d(15, 0.01, 0));
    AcGeLineSeg3d c(AcGePoint3d(12, 0, 0.03), AcGePoint3d(15, 0, 0.03));
    EXPECT_TRUE(a.isColinearTo(b, tol));
    EXPECT_FALSE(a.isColinearTo(c, tol));
}

TEST(GeLine, SegmentIntersectionInsideAndOutside) {
    AcGeLineSeg2d a(AcGePoint2d(0, 0), AcGePoint2d(10, 0));
    AcGeLineSeg2d cross(AcGePoint2d(4, -3), AcGePoint2d(4, 5));
    AcGePoint2d p(99, 99);
    ASSERT_TRUE(a.intersectWith(cross, p));
    EXPECT_PT2(p, 4, 0);

    // The lines cross at (12, 0), beyond the end of a.
    AcGeLineSeg2d beyond(AcGePoint2d(12, -3), AcGePoint2d(12, 5));
    p.set(99, 99);
    EXPECT_FALSE(a.intersectWith(beyond, p));
    EXPECT_PT2(p, 99, 99);
    // ... and short of the other segment.
    AcGeLineSeg2d above(AcGePoint2d(4, 1), AcGePoint2d(4, 5));
    EXPECT_FALSE(a.intersectWith(above, p));
    // Unbounded lines meet wherever they are not parallel.
    AcGeLine2d la, lb;
    a.getLine(la);
    beyond.getLine(lb);
    ASSERT_TRUE(la.intersectWith(lb, p));
    EXPECT_PT2(p, 12, 0);
    EXPECT_FALSE(la.intersectWith(AcGeLine2d(AcGePoint2d(0, 1), AcGeVector2d(3, 0)), p));
    // A line with a segment: the segment bounds the answer.
    EXPECT_TRUE(la.intersectWith(above, p) == false);
    ASSERT_TRUE(la.intersectWith(cross, p));
    // A gap smaller than the point tolerance still counts.
    AcGeLineSeg2d gap(AcGePoint2d(10.01, -3), AcGePoint2d(10.01, 5));
    EXPECT_FALSE(a.intersectWith(gap, p));
    EXPECT_TRUE(a.intersectWith(gap, p, tolerance(0.02)));
    // Rays are bounded on one side.
    AcGeRay2d ray(AcGePoint2d(5, 1), AcGeVector2d(0, 1));
    EXPECT_FALSE(a.intersectWith(ray, p));
    ray.set(AcGePoint2d(5, 1), AcGeVector2d(0, -1));
    EXPECT_TRUE(a.intersectWith(ray, p));

    // In space: skew segments do not meet, crossing ones do.
    AcGeLineSeg3d s1(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    AcGeLineSeg3d s2(AcGePoint3d(5, -5, 1), AcGePoint3d(5, 5, 1));
    AcGeLineSeg3d s3(AcGePoint3d(5, -5, -5), AcGePoint3d(5, 5, 5));
    AcGePoint3d q;
    EXPECT_FALSE(s1.intersectWith(s2, q));
    ASSERT_TRUE(s1.intersectWith(s3, q));
    EXPECT_PT3(q, 5, 0, 0);
}

TEST(GeLine, ClosestPointsParametersAndTransforms) {
    AcGeLineSeg2d seg(AcGePoint2d(0, 0), AcGePoint2d(10, 0));
    EXPECT_PT2(seg.closestPointTo(AcGePoint2d(3, 4)), 3, 0);
    EXPECT_PT2(seg.closestPointTo(AcGePoint2d(-3, 4)), 0, 0);
    EXPECT_NEAR(seg.distanceTo(AcGePoint2d(13, 4)), 5.0, kEps);
    AcGeLine2d line(AcGePoint2d(0, 0), AcGePoint2d(10, 0));
    EXPECT_PT2(line.closestPointTo(AcGePoint2d(-3, 4)), -3, 0);
    EXPECT_NEAR(line.distanceTo(AcGePoint2d(-3, 4)), 4.0, kEps);
    EXPECT_NEAR(seg.paramOf(AcGePoint2d(2.5, 7)), 0.25, kEps);
    EXPECT_PT2(seg.evalPoint(0.5), 5, 0);
    EXPECT_PT2(seg.midPoint(), 5, 0);
    EXPECT_NEAR(seg.length(), 10.0, kEps);
    EXPECT_TRUE(seg.isOn(AcGePoint2d(7, 0)));
    EXPECT_FALSE(seg.isOn(AcGePoint2d(11, 0)));
    EXPECT_TRUE(line.isOn(AcGePoint2d(11, 0)));
    EXPECT_TRUE(seg.direction().isEqualTo(AcGeVector2d(1, 0)));

    seg.reverseParam();
    EXPECT_PT2(seg.startPoint(), 10, 0);
    EXPECT_PT2(seg.endPoint(), 0, 0);
    seg.transformBy(AcGeMatrix2d::rotation(kPi / 2));
    EXPECT_PT2(seg.startPoint(), 0, 10);
    seg.translateBy(AcGeVector2d(1, 1));
    EXPECT_PT2(seg.endPoint(), 1, 1);

    AcGeLineSeg3d s3(AcGePoint3d(1, 1, 1), AcGePoint3d(1, 1, 5));
    EXPECT_PT3(s3.closestPointTo(AcGePoint3d(4, 5, 3)), 1, 1, 3);
    EXPECT_NEAR(s3.distanceTo(AcGePoint3d(4, 5, 3)), 5.0, kEps);
    s3.transformBy(AcGeMatrix3d::scaling(2.0, AcGePoint3d(1, 1, 1)));
    EXPECT_PT3(s3.endPoint(), 1, 1, 9);
    AcGeEntity3d* copy = s3.copy();
    EXPECT_TRUE(copy->isKindOf(AcGe::kLinearEnt3d));
    EXPECT_EQ(copy->type(), AcGe::kLineSeg3d);
    EXPECT_FALSE(copy->isKindOf(AcGe::kLine3d));
    delete copy;
}

TEST(GePlane, ProjectionsAndIntersections) {
    AcGePlane pl(AcGePoint3d(0, 0, 2), AcGeVector3d(0, 0, 3));
    AcGePoint3d p;
    ASSERT_TRUE(pl.intersectWith(AcGeLine3d(AcGePoint3d(1, 1, 0), AcGeVector3d(1, 0, 1)), p));
    EXPECT_PT3(p, 3, 1, 2);
    EXPECT_FALSE(pl.intersectWith(AcGeLineSeg3d(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 1)), p));
    EXPECT_FALSE(pl.intersectWith(AcGeLine3d(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0)), p));
    EXPECT_NEAR(pl.signedDistanceTo(AcGePoint3d(5, 5, -1)), -3.0, kEps);
    EXPECT_PT3(AcGePoint3d(5, 6, 9).orthoProject(pl), 5, 6, 2);
    EXPECT_PT3(AcGePoint3d(0, 0, 4).project(pl, AcGeVector3d(1, 0, -1)), 2, 0, 2);

    AcGePlane tilted(AcGePoint3d(1, 2, 3), AcGeVector3d(1, -2, 2));
    AcGePoint3d q(4, 5, 6);
    AcGePoint3d onPlane = q.orthoProject(tilted);
    EXPECT_TRUE(tilted.isOn(onPlane));
    AcGePoint2d uv = onPlane.convert2d(tilted);
    EXPECT_TRUE(AcGePoint3d(tilted, uv).isEqualTo(onPlane));
    AcGeLine3d meet;
    ASSERT_TRUE(tilted.intersectWith(pl, meet));
    EXPECT_TRUE(tilted.isOn(meet.pointOnLine()) && pl.isOn(meet.pointOnLine()));
    double a, b, c, d;
    tilted.getCoefficients(a, b, c, d);
    EXPECT_NEAR(a * 1 + b * 2 + c * 3 + d, 0.0, kEps);
}

TEST(GeArc2d, BulgeArcsHaveTheirCentreAndDirection) {
    AcGePoint2d s(0, 0), e(2, 0);
    // Bulge 1 is a half circle, counterclockwise: it bulges to the right of the chord.
    AcGeCircArc2d half(s, e, 1.0, false);
    EXPECT_PT2(half.center(), 1, 0);
    EXPECT_NEAR(half.radius(), 1.0, kEps);
    EXPECT_FALSE(half.isClockWise());
    EXPECT_PT2(half.startPoint(), 0, 0);
    EXPECT_PT2(half.endPoint(), 2, 0);
    EXPECT_PT2(half.midPoint(), 1, -1);
    EXPECT_NEAR(half.endAng() - half.startAng(), kPi, kEps);
    EXPECT_TRUE(half.isOn(AcGePoint2d(1, -1)));
    EXPECT_FALSE(half.isOn(AcGePoint2d(1, 1)));

    AcGeCircArc2d cw(s, e, -1.0, false);
    EXPECT_PT2(cw.center(), 1, 0);
    EXPECT_TRUE(cw.isClockWise());
    EXPECT_PT2(cw.startPoint(), 0, 0);
    EXPECT_PT2(cw.endPoint(), 2, 0);
    EXPECT_PT2(cw.midPoint(), 1, 1);

    // A flatter arc: included angle 4 atan(0.5), centre on the far side of the chord.
    AcGeCircArc2d flat(s, e, 0.5, false);
    EXPECT_PT2(flat.center(), 1, 0.75);
    EXPECT_NEAR(flat.radius(), 1.25, kEps);
    EXPECT_PT2(flat.midPoint(), 1, -0.5);
    // More than half a turn: centre beyond the chord on the bulge's side.
    AcGeCircArc2d big(s, e, 2.0, false);
    EXPECT_PT2(big.startPoint(), 0, 0);
    EXPECT_PT2(big.endPoint(), 2, 0);
    EXPECT_LT(big.center().y, 0.0);
    EXPECT_NEAR(big.endAng() - big.startAng(), 4 * std::atan(2.0), kEps);

    // With the flag the bulge is the height of the arc over the chord.
    AcGeCircArc2d byHeight(s, e, 0.5, true);
    EXPECT_PT2(byHeight.center(), 1, 0.75);
    EXPECT_PT2(byHeight.midPoint(), 1, -0.5);
}

TEST(GeArc2d, ThreePointArcsAndNearestPoints) {
    // Through a point to the left of the chord: clockwise.
    AcGeCircArc2d arc(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 0));
    EXPECT_PT2(arc.center(), 1, 0);
    EXPECT_NEAR(arc.radius(), 1.0, kEps);
    EXPECT_TRUE(arc.isClockWise());
    EXPECT_PT2(arc.startPoint(), 0, 0);
    EXPECT_PT2(arc.endPoint(), 2, 0);
    EXPECT_PT2(arc.midPoint(), 1, 1);
    AcGeCircArc2d ccw(AcGePoint2d(2, 0), AcGePoint2d(1, 1), AcGePoint2d(0, 0));
    EXPECT_FALSE(ccw.isClockWise());
    EXPECT_PT2(ccw.midPoint(), 1, 1);

    EXPECT_PT2(arc.closestPointTo(AcGePoint2d(1, 3)), 1, 1);
    // Below the chord the arc is not there; the nearer end answers.
    EXPECT_PT2(arc.closestPointTo(AcGePoint2d(0.2, -2)), 0, 0);
    EXPECT_NEAR(arc.distanceTo(AcGePoint2d(1, 3)), 2.0, kEps);
    EXPECT_TRUE(arc.isOn(AcGePoint2d(1 + std::sqrt(0.5), std::sqrt(0.5))));
    EXPECT_FALSE(arc.isOn(AcGePoint2d(1, -1)));
    EXPECT_TRUE(arc.isOn(AcGePoint2d(1, 1.01), tolerance(0.02)));

    int n = 0;
    AcGePoint2d p1, p2;
    ASSERT_TRUE(arc.intersectWith(AcGeLine2d(AcGePoint2d(0, 0.5), AcGeVector2d(1, 0)), n, p1, p2));
    EXPECT_EQ(n, 2);
    EXPECT_NEAR(p1.distanceTo(arc.center()), 1.0, kEps);
    EXPECT_TRUE(arc.intersectWith(AcGeLineSeg2d(AcGePoint2d(1, 0), AcGePoint2d(1, 5)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_PT2(p1, 1, 1);
    EXPECT_FALSE(
        arc.intersectWith(AcGeLine2d(AcGePoint2d(0, -0.5), AcGeVector2d(1, 0)), n, p1, p2));

    // Mirroring keeps the ends and flips the direction.
    arc.transformBy(AcGeMatrix2d::mirroring(AcGeLine2d(AcGePoint2d(0, 0), AcGeVector2d(1, 0))));
    EXPECT_FALSE(arc.isClockWise());
    EXPECT_PT2(arc.startPoint(), 0, 0);
    EXPECT_PT2(arc.midPoint(), 1, -1);
    arc.reverseParam();
    EXPECT_PT2(arc.startPoint(), 2, 0);
    EXPECT_PT2(arc.midPoint(), 1, -1);
}

TEST(GeArc3d, ArcsInSpace) {
    AcGeCircArc3d arc(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(2, 0, 0));
    EXPECT_PT3(arc.center(), 1, 0, 0);
    EXPECT_TRUE(arc.normal().isEqualTo(AcGeVector3d(0, 0, -1)));
    EXPECT_PT3(arc.startPoint(), 0, 0, 0);
    EXPECT_PT3(arc.endPoint(), 2, 0, 0);
    EXPECT_PT3(arc.evalPoint(kPi / 2), 1, 1, 0);
    EXPECT_PT3(arc.closestPointTo(AcGePoint3d(1, 5, 7)), 1, 1, 0);
    EXPECT_PT3(arc.closestPointTo(AcGePoint3d(0.1, -3, 0)), 0, 0, 0);

    AcGeMatrix3d m = AcGeMatrix3d::rotation(0.4, AcGeVector3d(1, 2, 3), AcGePoint3d(5, 0, 0)) *
                     AcGeMatrix3d::mirroring(AcGePlane::kYZPlane);
    arc.transformBy(m);
    EXPECT_TRUE(arc.startPoint().isEqualTo(m * AcGePoint3d(0, 0, 0)));
    EXPECT_TRUE(arc.endPoint().isEqualTo(m * AcGePoint3d(2, 0, 0)));
    EXPECT_TRUE(arc.isOn(m * AcGePoint3d(1, 1, 0)));

    AcGeCircle circle(AcGePoint3d(0, 0, 5), AcGeVector3d::kZAxis, 2.0);
    int n = 0;
    AcGePoint3d p1, p2;
    ASSERT_TRUE(
        circle.intersectWith(AcGeLine3d(AcGePoint3d(0, 0, 5), AcGeVector3d(1, 0, 0)), n, p1, p2));
    EXPECT_EQ(n, 2);
    EXPECT_NEAR(std::fabs(p1.x), 2.0, kEps);
    EXPECT_TRUE(circle.isInside(AcGePoint3d(1, 0, 5)));
    EXPECT_FALSE(circle.isInside(AcGePoint3d(1, 0, 4)));
    AcGePoint3d none;
    EXPECT_FALSE(circle.hasStartPoint(none));
}
