// Transactions: objects obtained from ids through the top transaction stay open until the
// transaction ends, which closes them, or is aborted, which also undoes what was changed in them.
//
// Transactions nest. An object obtained in an outer transaction is found again by an inner one;
// ending an inner transaction hands its objects to the one around it, and only the end of the
// outermost one closes them. Aborting a transaction restores every object that was obtained for
// write (or added with addNewlyCreatedDBRObject) since it started: their fields, extended data and
// erased state as they were when the transaction first touched them; objects it added to the
// database are erased. The restoring reads the saved fields back through the object's
// dxfInFields, as entmod does.
//
// The objects are opened with acdbOpenObject, so the rules of opening apply: an object that
// somebody else holds open is refused with the open status. Objects obtained through a
// transaction must not be closed by the caller; one found closed when its transaction ends is
// reported as an error of the open discipline.
#pragma once

#include "dbent_array.h"
#include "dbmain.h"

class AcDbTransactionManager;

class AcTransaction : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcTransaction);
    ~AcTransaction() override;
    AcTransaction(const AcTransaction&) = delete;
    AcTransaction& operator=(const AcTransaction&) = delete;

    // Only the top transaction gives objects (eNotTopTransaction otherwise). An object the
    // transactions hold already is given again; asked for write it is upgraded.
    virtual Acad::ErrorStatus getObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                        bool openErasedObject = false);
    virtual Acad::ErrorStatus markObjectPageable(AcDbObject* pObject);
    // The objects of this transaction (not those of the transactions around it).
    virtual Acad::ErrorStatus getAllObjects(AcArray<AcDbObject*>& objs);
    virtual AcDbTransactionManager* transactionManager() const;

private:
    friend class AcDbTransactionManager;
    AcTransaction(AcDbTransactionManager* mgr);
    struct Impl;
    Impl* m_impl;
};

class AcDbTransactionManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbTransactionManager);
    AcDbTransactionManager();
    ~AcDbTransactionManager() override;
    AcDbTransactionManager(const AcDbTransactionManager&) = delete;
    AcDbTransactionManager& operator=(const AcDbTransactionManager&) = delete;

    virtual AcTransaction* startTransaction();
    // eNoActiveTransactions when none is active.
    virtual Acad::ErrorStatus endTransaction();
    virtual Acad::ErrorStatus abortTransaction();
    virtual int numActiveTransactions();
    virtual AcTransaction* topTransaction();
    // Puts an object that was just added to the database (and is open) into the top transaction,
    // which then closes it; with add false it is taken out again (and left open).
    virtual Acad::ErrorStatus addNewlyCreatedDBRObject(AcDbObject* obj, bool add = true);
    // The objects of all active transactions.
    virtual Acad::ErrorStatus getAllObjects(AcArray<AcDbObject*>& objs);
    // getObject of the top transaction.
    virtual Acad::ErrorStatus getObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                        bool openErasedObj = false);
    virtual int numOpenedObjects();

private:
    friend class AcTransaction;
    struct Impl;
    Impl* m_impl;
};

// The host's transaction manager (one for all databases).
AcDbTransactionManager* acdbTransactionManagerPtr();
#define acdbTransactionManager acdbTransactionManagerPtr()

namespace khost {
// Ends the host's part of a call into an application: aborts the transactions started since
// `keep` were active, newest first, each noted as an error of the open discipline (reported by
// the next reportOpenObjects). Returns how many were aborted.
int abortTransactionsAbove(int keep);
} // namespace khost
