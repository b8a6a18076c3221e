// Shared pieces of the tests of the office standard: a host with the settings object loaded,
// the standard linetypes, and ezdxf's view of a saved drawing.
#pragma once

#include "hostfixture.h"

#include "CVoxNastav.h"
#include "dxfio.h"
#include "textconv.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace standardy {

inline std::string Utf8(const std::wstring& s) {
    return khost::toUtf8(s);
}

class StandardyTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        m_pNastaveni = new CVoxNastav();
        g_pNastaveni = m_pNastaveni;
    }
    void TearDown() override {
        g_pNastaveni = nullptr;
        delete m_pNastaveni;
        HostFixture::TearDown();
    }

    // Objects left open since the last check (each is reported on the transcript).
    int Otevrene() { return khost::reportOpenObjects(L"test"); }

    // The installation's folders in the machine hive: the data of the source tree, so that the
    // standard linetypes load from their files.
    void Instaluj() {
        const std::string sData = std::string(KRESBON_SOURCE_DIR) + "/data";
        const struct {
            const ACHAR* sKlic;
            const ACHAR* sHodnota;
            std::string sCesta;
        } aHodnoty[] = {{L"Software\\Pelmex\\", L"CommonDataPath", sData + "/CommonData"},
                        {L"Software\\Pelmex\\Kresbon\\", L"InstallPath", sData + "/Kresbon"}};
        for (const auto& h : aHodnoty)
            setMachineString(h.sKlic, h.sHodnota, khost::fromUtf8(h.sCesta));
    }

    // The id of a record of a symbol table, null when there is none.
    template <class TTabulka> AcDbObjectId Zaznam(const ACHAR* sJmeno) {
        TTabulka* pTab = nullptr;
        AcDbObjectId id;
        if (db()->getSymbolTable(pTab, AcDb::kForRead) == Acad::eOk) {
            if (pTab->getAt(sJmeno, id) != Acad::eOk)
                id = AcDbObjectId::kNull;
            pTab->close();
        }
        return id;
    }
    template <class TTabulka> int PocetZaznamu() {
        TTabulka* pTab = nullptr;
        int n = -1;
        if (db()->getSymbolTable(pTab, AcDb::kForRead) == Acad::eOk) {
            n = pTab->numRecords();
            pTab->close();
        }
        return n;
    }

    // The drawing saved to the temporary home; empty on failure.
    std::string Uloz(const std::string& sSoubor) {
        const std::string sCesta = m_home + "/" + sSoubor;
        std::wstring sChyba;
        if (!khost::writeDrawing(db(), std::wstring(sCesta.begin(), sCesta.end()), sChyba))
            return std::string();
        return sCesta;
    }

    static bool MameEzdxf() {
        static const bool b =
            std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
        return b;
    }

    // Runs a python body on the saved drawing, given as `doc` after ezdxf's audit; returns what
    // it prints, preceded by the audit's errors.
    std::string Ezdxf(const std::string& sSoubor, const std::string& sTelo) {
        const std::string sSkript = m_home + "/kontrola.py";
        const std::string sVystup = m_home + "/kontrola.out";
        std::ofstream(sSkript) << "import sys, ezdxf\n"
                                  "doc = ezdxf.readfile(sys.argv[1])\n"
                                  "for e in doc.audit().errors:\n"
                                  "    print('audit', e.code, e.message)\n"
                               << sTelo;
        const std::string sPrikaz =
            "/usr/bin/python3 " + sSkript + " " + sSoubor + " > " + sVystup + " 2>&1";
        std::system(sPrikaz.c_str());
        std::ifstream in(sVystup);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    CVoxNastav* m_pNastaveni = nullptr;
};

} // namespace standardy
