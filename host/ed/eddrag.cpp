// Dragging: the cursor's final point is asked for on the command line.
#include "aceddrag.h"
#include "acedads.h"
#include "acedentfn.h"

int acedDragGen(const ads_name ss, const ACHAR* pmt, int, int (*scnf)(ads_point pt, ads_matrix mt),
                ads_point p) {
    Adesk::Int32 n = 0;
    if (!ss || acedSSLength(ss, &n) != RTNORM || n == 0) {
        acedInitGet(0, nullptr); // the options belonged to this request
        return RTERROR;
    }
    ads_point pt = {0, 0, 0};
    int rc = acedGetPoint(nullptr, pmt, pt);
    if (rc != RTNORM)
        return rc;
    if (scnf) {
        ads_matrix m;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                m[i][j] = i == j ? 1.0 : 0.0;
        scnf(pt, m);
    }
    if (p)
        ads_point_set(pt, p);
    return RTNORM;
}
