// Named values kept in the drawing: one extension record per value in the dictionary "DUVADEDE"
// of the working database's named object dictionary.
#pragma once

#include "StdAfx.h"

// The application's dictionary in the named object dictionary.
#define XREC_SLOVNIK L"DUVADEDE"

// Group codes of the kinds of values.
#define XREC_INT 90
#define XREC_REAL 40
#define XREC_STRING 1
#define XREC_BOD 10
#define XREC_BOOL 70

class CVoxXRecord {
public:
    // The record name: group, "_", value name; the value name alone without a group.
    static AcString JmenoZaznamu(const ACHAR* sJmeno, const ACHAR* sSkupina = nullptr);

    // The whole chain of the record; the caller releases it with acutRelRb. False (with a line
    // on the command line) when the dictionary or the record cannot be read.
    static bool Cti(const ACHAR* sJmenoZaznamu, resbuf*& pRbList);
    // Typed readers: false, the value unchanged, when the record cannot be read; a record of
    // another kind throws CVoxException.
    static bool CtiInt(const ACHAR* sJmeno, int& nHodnota, const ACHAR* sSkupina = nullptr);
    static bool CtiReal(const ACHAR* sJmeno, double& dHodnota, const ACHAR* sSkupina = nullptr);
    static bool CtiString(const ACHAR* sJmeno, CString& sHodnota, const ACHAR* sSkupina = nullptr);
    static bool CtiString(const ACHAR* sJmeno, AcString& sHodnota, const ACHAR* sSkupina = nullptr);
    static bool CtiBod(const ACHAR* sJmeno, AcGePoint3d& bod, const ACHAR* sSkupina = nullptr);
    static bool CtiBool(const ACHAR* sJmeno, bool& bHodnota, const ACHAR* sSkupina = nullptr);
    // The chain of the record without a type check (null when it cannot be read).
    static resbuf* CtiRb(const ACHAR* sJmeno, const ACHAR* sSkupina = nullptr);

    // Writes the chain as the record of that name, replacing an older one; the chain is
    // released in every case. Failures are shown by the exception report.
    static bool Zapis(const ACHAR* sJmenoZaznamu, resbuf* pRbList);
    static bool ZapisInt(const ACHAR* sJmeno, int nHodnota, const ACHAR* sSkupina = nullptr);
    static bool ZapisReal(const ACHAR* sJmeno, double dHodnota, const ACHAR* sSkupina = nullptr);
    static bool ZapisString(const ACHAR* sJmeno, const ACHAR* sHodnota,
                            const ACHAR* sSkupina = nullptr);
    static bool ZapisBod(const ACHAR* sJmeno, const AcGePoint3d& bod,
                         const ACHAR* sSkupina = nullptr);
    static bool ZapisBool(const ACHAR* sJmeno, bool bHodnota, const ACHAR* sSkupina = nullptr);

    // Removes the dictionary with every value in it.
    static bool Smaz();
};
