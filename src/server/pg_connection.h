#pragma once
#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/server_settings.h"
#include "store/refusals.h"

// Private to server/: the one connection of a server book, and PostgreSQL failures in words a lender understands.

namespace kb {

// The values of a statement's $1, $2, ...: text, or NULL.
using PgParams = std::vector<std::optional<std::string>>;

class PgResult {
public:
    explicit PgResult(PGresult* result) : result_(result, &PQclear) {}
    int rows() const { return PQntuples(result_.get()); }
    bool isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
    std::string text(int row, int column) const { return PQgetvalue(result_.get(), row, column); }
    // How many rows an INSERT, UPDATE or DELETE changed.
    int changed() const;
    const PGresult* raw() const { return result_.get(); }

private:
    std::unique_ptr<PGresult, decltype(&PQclear)> result_;
};

class PgConnection {
public:
    // Throws StoreError saying that the server cannot be reached, and why.
    explicit PgConnection(const ServerSettings& settings);

    // Runs one statement; throws StoreError describing a refusal for the record `target` names.
    PgResult exec(const std::string& sql, const Target& target, const PgParams& params = {});
    // Feeds COPY ... FROM STDIN the rows of `data` (COPY's text form).
    void copyIn(const std::string& sql, const std::string& data, const Target& target);

    // Runs `body` in one transaction: all of it is stored or, when it throws or returns a refusal (a text), none.
    template <class Body>
    std::optional<std::string> transaction(Body&& body) {
        begin();
        try {
            std::optional<std::string> refusal = body();
            if (refusal) {
                rollback();
            } else {
                commit();
            }
            return refusal;
        } catch (...) {
            rollback();
            throw;
        }
    }

    // What messages call the book server: the database and where it is.
    const std::string& name() const { return name_; }
    Target target(const TableDef& table, std::string key = "") const { return {&table, name_, std::move(key)}; }

private:
    void begin();
    void commit();
    void rollback();
    // A lost connection is tried once more before a statement.
    void reconnectIfLost();
    [[noreturn]] void throwFailure(const PGresult* result, const Target& target) const;

    std::string name_;
    bool inTransaction_ = false;
    std::unique_ptr<PGconn, decltype(&PQfinish)> connection_;
};

}  // namespace kb
