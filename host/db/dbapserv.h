// The host application services: the working database.
#pragma once

#include "dbmain.h"

class AcDbHostApplicationServices : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbHostApplicationServices);
    ~AcDbHostApplicationServices() override = default;
    AcDbDatabase* workingDatabase() const { return m_working; }
    void setWorkingDatabase(AcDbDatabase* pDatabase) { m_working = pDatabase; }

    enum FindFileHint {
        kDefault = 0,
        kFontFile,
        kCompiledShapeFile,
        kTrueTypeFontFile,
        kEmbeddedImageFile,
        kXRefDrawing,
        kPatternFile,
        kARXApplication,
        kFontMapFile,
    };
    // Finds a file: a path that exists as given, else the name in the folder of pDb's drawing
    // (the working database's when pDb is null), else in the current folder. A drawing named
    // "X.dwg" is found when "X.dxf" is there. eFileNotFound, or eBufferTooSmall when the found
    // path does not fit the buffer (nBufferLength characters with the terminating zero).
    virtual Acad::ErrorStatus findFile(ACHAR* pcFullPathOut, int nBufferLength,
                                       const ACHAR* pcFilename, AcDbDatabase* pDb = nullptr,
                                       FindFileHint hint = kDefault);

private:
    AcDbDatabase* m_working = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* pServices);
