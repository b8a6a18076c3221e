// Editing the file of an external reference: the file is locked while its database is changed,
// and saved back when the lock is released.
#pragma once

#include "acadstrc.h"
#include "dbid.h"

class AcEdXrefFileLock {
public:
    AcEdXrefFileLock();
    // Releases a lock still held, without saving.
    ~AcEdXrefFileLock();
    AcEdXrefFileLock(const AcEdXrefFileLock&) = delete;
    AcEdXrefFileLock& operator=(const AcEdXrefFileLock&) = delete;

    // Locks the file of the external reference whose block is selectedBTRid and resolves its
    // database (AcDbBlockTableRecord::xrefDatabase). retstatus receives the status as well:
    // eNotApplicable for a block that is no external reference, eFileNotFound when its file
    // cannot be read, eFileAccessErr when it cannot be written, eFileLockedByACAD when another
    // lock holds it.
    Acad::ErrorStatus lockFile(int& retstatus, const AcDbObjectId& selectedBTRid);
    // Saves the reference's database to its file (unless bSkipSaveback) and releases the lock.
    // The database stays loaded: it is what the file now holds.
    Acad::ErrorStatus releaseFile(int& retstatus, bool bSkipSaveback = false, bool bReload = true);
    AcDbObjectId getLockBtrId() const { return m_block; }

private:
    AcDbObjectId m_block;
    bool m_locked = false;
};
