// Geometry helpers of the utility library.
#include "acutads.h"
#include "adscodes.h"

#include <cmath>

int acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point result) {
    if (!pt || !result)
        return RTERROR;
    const ads_real x = pt[0] + dist * std::cos(angle);
    const ads_real y = pt[1] + dist * std::sin(angle);
    result[0] = x;
    result[1] = y;
    result[2] = pt[2];
    return RTNORM;
}
