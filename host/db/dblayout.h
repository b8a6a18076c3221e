// Plot settings and layouts (the "Model" tab and the paper space tabs), and the host's layout
// manager that creates paper space layouts.
#pragma once

#include "dbmain.h"
#include "gepnt2d.h"
#include "gepnt3d.h"

#include <string>

class AcDbPlotSettings : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbPlotSettings);
    enum PlotPaperUnits { kInches = 0, kMillimeters = 1, kPixels = 2 };
    enum PlotRotation { k0degrees = 0, k90degrees = 1, k180degrees = 2, k270degrees = 3 };
    enum PlotType { kDisplay = 0, kExtents = 1, kLimits = 2, kView = 3, kWindow = 4, kLayout = 5 };
    enum StdScaleType { kScaleToFit = 0, k1_1 = 16 };

    AcDbPlotSettings();
    explicit AcDbPlotSettings(bool ModelType);
    bool modelType() const { return m_modelType; }
    void setModelType(bool modelType);
    Acad::ErrorStatus getPlotSettingsName(ACHAR*& plotSettingsName) const;
    Acad::ErrorStatus getPlotSettingsName(AcString& plotSettingsName) const;
    Acad::ErrorStatus setPlotSettingsName(const ACHAR* plotSettingsName);

    // The plot device ("none_device" when none) and the paper ("ISO_A4_(297.00_x_210.00_MM)").
    Acad::ErrorStatus getPlotCfgName(const ACHAR*& name) const;
    Acad::ErrorStatus setPlotCfgName(const ACHAR* name);
    Acad::ErrorStatus getCanonicalMediaName(const ACHAR*& name) const;
    Acad::ErrorStatus setCanonicalMediaName(const ACHAR* name);
    Acad::ErrorStatus getCurrentStyleSheet(const ACHAR*& name) const;
    Acad::ErrorStatus setCurrentStyleSheet(const ACHAR* name);
    // Millimetres.
    void getPlotPaperMargins(double& left, double& bottom, double& right, double& top) const;
    Acad::ErrorStatus setPlotPaperMargins(double left, double bottom, double right, double top);
    void getPlotPaperSize(double& width, double& height) const;
    Acad::ErrorStatus setPlotPaperSize(double width, double height);
    void getPlotOrigin(double& x, double& y) const;
    Acad::ErrorStatus setPlotOrigin(double x, double y);
    void getPlotWindowArea(double& xmin, double& ymin, double& xmax, double& ymax) const;
    Acad::ErrorStatus setPlotWindowArea(double xmin, double ymin, double xmax, double ymax);
    void getCustomPrintScale(double& numerator, double& denominator) const;
    Acad::ErrorStatus setCustomPrintScale(double numerator, double denominator);
    PlotPaperUnits plotPaperUnits() const { return static_cast<PlotPaperUnits>(m_paperUnits); }
    Acad::ErrorStatus setPlotPaperUnits(PlotPaperUnits units);
    PlotRotation plotRotation() const { return static_cast<PlotRotation>(m_rotation); }
    Acad::ErrorStatus setPlotRotation(PlotRotation rotation);
    PlotType plotType() const { return static_cast<PlotType>(m_plotType); }
    Acad::ErrorStatus setPlotType(PlotType type);
    StdScaleType stdScaleType() const { return static_cast<StdScaleType>(m_stdScaleType); }
    Acad::ErrorStatus setStdScaleType(StdScaleType type);
    bool useStandardScale() const { return m_flags & 16; }
    Acad::ErrorStatus setUseStandardScale(bool value);
    // The flags of DXF group 70 (1 viewport borders, 2 show plot styles, 4 plot centred ...,
    // 1024 model type).
    Adesk::Int16 plotLayoutFlags() const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_plotSettingsName, m_cfgName, m_mediaName, m_viewName, m_styleSheet;
    double m_margins[4] = {7.5, 20.0, 7.5, 20.0};
    double m_paper[2] = {297.0, 210.0};
    double m_origin[2] = {0.0, 0.0};
    double m_window[4] = {0.0, 0.0, 0.0, 0.0};
    double m_scale[2] = {1.0, 1.0};
    double m_scaleFactor = 1.0;
    Adesk::Int16 m_flags = 688, m_paperUnits = kMillimeters, m_rotation = k0degrees;
    Adesk::Int16 m_plotType = kLayout, m_stdScaleType = 0, m_shadeMode = 0;
    Adesk::Int16 m_shadeResolution = 2, m_shadeDpi = 300;
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
    // Limits and extents of the layout's paper space.
    AcGePoint2d getLimitsMin() const;
    AcGePoint2d getLimitsMax() const;
    void setLimits(const AcGePoint2d& minPoint, const AcGePoint2d& maxPoint);
    AcGePoint3d getExtentsMin() const;
    AcGePoint3d getExtentsMax() const;
    void setExtents(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint);
    AcGePoint3d getInsertionBase() const;
    AcDbObjectId lastActiveViewportId() const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_name;
    khost::DbStub* m_block = nullptr;
    khost::DbStub* m_viewport = nullptr;
    double m_limits[4] = {0.0, 0.0, 420.0, 297.0};
    double m_extents[6] = {1e20, 1e20, 1e20, -1e20, -1e20, -1e20};
    // The layout's UCS: origin, X and Y axes, elevation, orthographic type.
    double m_ucs[9] = {0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0};
    double m_elevation = 0.0;
    int m_ucsOrthoType = 0;
    double m_insertion[3] = {0.0, 0.0, 0.0};
    int m_tabOrder = 0;
    bool m_tabSelected = false;
};

// Creates, finds and counts the layouts of a database (the working one when none is given).
class AcDbLayoutManager {
public:
    // A new paper space layout: its block "*Paper_SpaceN", the layout after the last tab, and
    // its entry in the layout dictionary. eDuplicateRecordName when the name is taken,
    // eInvalidInput for an empty or invalid name.
    Acad::ErrorStatus createLayout(const ACHAR* newLayoutName, AcDbObjectId& layoutId,
                                   AcDbObjectId& blockTableRecId, AcDbDatabase* pDb = nullptr);
    AcDbObjectId findLayoutNamed(const ACHAR* name, AcDbDatabase* pDb = nullptr);
    bool layoutExists(const ACHAR* name, AcDbDatabase* pDb = nullptr);
    int countLayouts(AcDbDatabase* pDb = nullptr);
};
// The host's layout manager.
AcDbLayoutManager* acdbLayoutManager();
