// The transaction manager of the application layer: the database's transaction manager with the
// graphics flush calls, which do nothing in a host without a display.
#pragma once

#include "dbtrans.h"

class AcTransactionManager : public AcDbTransactionManager {
public:
    ACRX_DECLARE_MEMBERS(AcTransactionManager);
    virtual Acad::ErrorStatus enableGraphicsFlush(bool doEnable);
    virtual void flushGraphics();
    virtual Acad::ErrorStatus queueForGraphicsFlush();
};

AcTransactionManager* acTransactionManagerPtr();
#define actrTransactionManager acTransactionManagerPtr()
