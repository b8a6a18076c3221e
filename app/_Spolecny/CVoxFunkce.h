// Block definitions: new blocks and free block names, blocks opened for write by name, and the
// fetch of a block from the application's library drawings.
#pragma once

#include "StdAfx.h"

#include <string>

// The largest unsigned 32-bit number; as the first number of VolneJmenoBloku it stands for 1.
#define VOLNE_JMENO_OD_1 0xFFFFFFFFu

// A block name not yet used in the block table (open): the prefix, "_" and the first number
// from nPrvni on, in lower-case hexadecimal, that no block has. Names are compared without
// regard to case, as the table compares them. With pIdBloku the identifiers of the blocks whose
// names contain the prefix are appended to it.
std::wstring VolneJmenoBloku(AcDbBlockTable* pTabulka, const ACHAR* sPredpona,
                             AcDbObjectIdArray* pIdBloku = nullptr,
                             unsigned int nPrvni = VOLNE_JMENO_OD_1);

// A new block definition (closed) in the database with origin (0, 0, 0), named sJmeno or, with
// bVolneJmeno, by VolneJmenoBloku of the prefix sJmeno.
AcDbObjectId VytvorBlok(const ACHAR* sJmeno, AcDbDatabase* pDb, bool bVolneJmeno = false);

// The block of that name (erased ones included) of the working database, open for write in
// pBlok; null (and pBlok null) when there is none.
AcDbObjectId OtevriBlokProZapis(const ACHAR* sJmeno, AcDbBlockTableRecord*& pBlok);

// The block definition of that name in the working database; when it lacks one, the library
// drawing "<name>.dwg" of the installation folder's subfolder is inserted as that block: the
// maker's common folder ("CommonInstallPath") with bKlicVyrobce, else the product's
// ("InstallPath"). Null when the block is neither in the drawing nor in the library. Annotative:
// the definition is made annotative.
AcDbObjectId NajdiNeboNactiBlok(const ACHAR* sJmeno, const ACHAR* sPodadresar,
                                bool bAnotativni = false, bool bKlicVyrobce = false);
