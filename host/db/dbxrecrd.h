// Extension records: a chain of result buffers stored in the drawing.
#pragma once

#include "dbmain.h"

class AcDbXrecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbXrecord);
    AcDbXrecord();
    ~AcDbXrecord() override;

    // A copy of the data in *ppRb, which the caller frees with acutRelRb (null when empty).
    Acad::ErrorStatus rbChain(resbuf** ppRb, AcDbDatabase* auxDb = nullptr) const;
    // Replaces the data with a copy of the chain that starts at rb.
    Acad::ErrorStatus setFromRbChain(const resbuf& pRb, AcDbDatabase* auxDb = nullptr);
    // Clears the data.
    Acad::ErrorStatus clearRbChain();
    bool isXlateReferences() const { return m_xlate; }
    void setXlateReferences(bool translate);
    AcDb::DuplicateRecordCloning mergeStyle() const {
        return static_cast<AcDb::DuplicateRecordCloning>(m_merge);
    }
    void setMergeStyle(AcDb::DuplicateRecordCloning style);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    resbuf* m_data = nullptr;
    bool m_xlate = true;
    Adesk::UInt8 m_merge = AcDb::kDrcIgnore;
};
