// Plot settings and layouts (the "Model" tab and the paper space tabs).
#pragma once

#include "dbmain.h"

#include <string>

class AcDbPlotSettings : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbPlotSettings);
    AcDbPlotSettings();
    explicit AcDbPlotSettings(bool ModelType);
    bool modelType() const { return m_modelType; }
    void setModelType(bool modelType);
    Acad::ErrorStatus getPlotSettingsName(ACHAR*& plotSettingsName) const;
    Acad::ErrorStatus getPlotSettingsName(AcString& plotSettingsName) const;
    Acad::ErrorStatus setPlotSettingsName(const ACHAR* plotSettingsName);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_plotSettingsName;
    bool m_modelType = false;
};

class AcDbLayout : public AcDbPlotSettings {
public:
    ACRX_DECLARE_MEMBERS(AcDbLayout);
    AcDbLayout();

    AcDbObjectId getBlockTableRecordId() const;
    Acad::ErrorStatus setBlockTableRecordId(AcDbObjectId id);
    Acad::ErrorStatus getLayoutName(const ACHAR*& layoutName) const;
    Acad::ErrorStatus getLayoutName(AcString& layoutName) const;
    Acad::ErrorStatus getName(AcString& layoutName) const { return getLayoutName(layoutName); }
    Acad::ErrorStatus setLayoutName(const ACHAR* layoutName);
    int getTabOrder() const { return m_tabOrder; }
    void setTabOrder(int newOrder);
    bool getTabSelected() const { return m_tabSelected; }
    void setTabSelected(bool tabSelected);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_name;
    khost::DbStub* m_block = nullptr;
    int m_tabOrder = 0;
    bool m_tabSelected = false;
};
