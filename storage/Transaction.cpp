#include "Transaction.h"

#include "Database.h"

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_db.rollback();
    } catch (...) {
        // The original error is already on its way to the user; a failing
        // rollback must not replace it.
    }
}

void Transaction::commit()
{
    m_db.commit();
    m_done = true;
}
