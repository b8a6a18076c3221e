#include "acgeall.h"

#include <gtest/gtest.h>

TEST(GeSmoke, BuildsAndLinks) {
    AcGeLineSeg2d a(AcGePoint2d(0, 0), AcGePoint2d(10, 0));
    AcGeLineSeg2d b(AcGePoint2d(5, -5), AcGePoint2d(5, 5));
    AcGePoint2d p;
    ASSERT_TRUE(a.intersectWith(b, p));
    EXPECT_TRUE(p.isEqualTo(AcGePoint2d(5, 0)));
}
