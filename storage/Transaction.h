#pragma once

class Database;

// One save command is one transaction: the guard begins it, commit() makes it
// permanent, and leaving the scope without commit (an exception) rolls it back.
// Nested guards become savepoints of the outer transaction.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &m_db;
    bool m_done = false;
};
