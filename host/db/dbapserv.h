// The host application services: the working database.
#pragma once

#include "dbmain.h"

class AcDbHostApplicationServices : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbHostApplicationServices);
    ~AcDbHostApplicationServices() override = default;
    AcDbDatabase* workingDatabase() const { return m_working; }
    void setWorkingDatabase(AcDbDatabase* pDatabase) { m_working = pDatabase; }

private:
    AcDbDatabase* m_working = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* pServices);
