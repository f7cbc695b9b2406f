#include "server/pg_connection.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "store/store.h"

namespace kb {

namespace {

constexpr const char* kConnectTimeoutSeconds = "10";

std::string FirstLine(const char* text) {
    const std::string_view all = text == nullptr ? "" : text;
    return std::string(all.substr(0, all.find('\n')));
}

std::string Field(const PGresult* result, int code) {
    const char* value = PQresultErrorField(result, code);
    return value == nullptr ? std::string() : value;
}

std::string DateRefused(const Target& target, const std::string& message) {
    for (const kb::Field& field : target.table->fields) {
        if (field.type == FieldType::Date) return std::string(field.caption) + " is not a date";
    }
    return target.file + ": " + message;
}

// A refusal by its SQLSTATE: a key already on file, an empty key, a value a field does not take, a table or field
// missing, two desks waiting on each other; the server's own words for the rest.
std::string Describe(const PGresult* result, const Target& target) {
    const std::string state = Field(result, PG_DIAG_SQLSTATE);
    const std::string message = Field(result, PG_DIAG_MESSAGE_PRIMARY);
    const std::string constraint = Field(result, PG_DIAG_CONSTRAINT_NAME);
    if (state == "23505") return constraint == kNoteIdField ? NoteNumberTaken(target) : AlreadyOnFile(target);
    if (state == "23502" && Field(result, PG_DIAG_COLUMN_NAME) == kKeyField) return EmptyKey(*target.table);
    if (state == "23514") return DescribeRefusedValue(target, constraint, message);
    if (state == "22007" || state == "22008") return DateRefused(target, message);
    if (state == "42P01") return target.file + " has no table " + std::string(target.table->name);
    if (state == "40P01" || state == "40001" || state == "55P03") {
        return "Another desk was changing the same records at the same moment; nothing was saved, try again";
    }
    return target.file + ": " + message;
}

}  // namespace

int PgResult::changed() const {
    const char* count = PQcmdTuples(result_.get());
    return count == nullptr || *count == '\0' ? 0 : std::atoi(count);
}

PgConnection::PgConnection(const ServerSettings& settings)
    : name_("The book server (" + ServerName(settings) + ")"), connection_(nullptr, &PQfinish) {
    std::vector<const char*> keys{"host", "port", "dbname", "client_encoding", "options", "application_name",
                                  "connect_timeout"};
    std::vector<const char*> values{settings.host.c_str(), settings.port.c_str(), settings.database.c_str(), "UTF8",
                                    "-c datestyle=ISO -c client_min_messages=warning", "kestrel-book", kConnectTimeoutSeconds};
    if (!settings.user.empty()) {
        keys.push_back("user");
        values.push_back(settings.user.c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    connection_.reset(PQconnectdbParams(keys.data(), values.data(), 0));
    if (PQstatus(connection_.get()) != CONNECTION_OK) {
        throw StoreError(name_ + " cannot be reached: " + FirstLine(PQerrorMessage(connection_.get())));
    }
}

// Within a transaction a new session would go on without what the transaction did so far: that fails instead.
void PgConnection::reconnectIfLost() {
    if (PQstatus(connection_.get()) == CONNECTION_OK || inTransaction_) return;
    PQreset(connection_.get());
    if (PQstatus(connection_.get()) != CONNECTION_OK) {
        throw StoreError(name_ + " cannot be reached: " + FirstLine(PQerrorMessage(connection_.get())));
    }
}

PgResult PgConnection::exec(const std::string& sql, const Target& target, const PgParams& params) {
    reconnectIfLost();
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& param : params) values.push_back(param ? param->c_str() : nullptr);
    PgResult result(PQexecParams(connection_.get(), sql.c_str(), static_cast<int>(values.size()), nullptr,
                                 values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.raw());
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    throwFailure(result.raw(), target);
}

void PgConnection::copyIn(const std::string& sql, const std::string& data, const Target& target) {
    static constexpr std::size_t kChunk = 1 << 20;
    reconnectIfLost();
    PgResult start(PQexec(connection_.get(), sql.c_str()));
    if (PQresultStatus(start.raw()) != PGRES_COPY_IN) throwFailure(start.raw(), target);
    for (std::size_t at = 0; at < data.size(); at += kChunk) {
        const std::size_t length = std::min(kChunk, data.size() - at);
        if (PQputCopyData(connection_.get(), data.data() + at, static_cast<int>(length)) != 1) break;
    }
    PQputCopyEnd(connection_.get(), nullptr);
    // The outcome of the COPY, then the end of its results.
    PgResult outcome(PQgetResult(connection_.get()));
    while (PGresult* rest = PQgetResult(connection_.get())) PQclear(rest);
    if (PQresultStatus(outcome.raw()) != PGRES_COMMAND_OK) throwFailure(outcome.raw(), target);
}

void PgConnection::throwFailure(const PGresult* result, const Target& target) const {
    if (PQstatus(connection_.get()) != CONNECTION_OK) {
        throw StoreError(name_ + " cannot be reached: " + FirstLine(PQerrorMessage(connection_.get())));
    }
    throw StoreError(Describe(result, target));
}

void PgConnection::begin() {
    exec("BEGIN", target(kLoanTable));
    inTransaction_ = true;
}

void PgConnection::commit() {
    exec("COMMIT", target(kLoanTable));
    inTransaction_ = false;
}

// A rollback that fails leaves nothing to undo: the server drops an unfinished transaction with the connection.
void PgConnection::rollback() {
    inTransaction_ = false;
    if (PQstatus(connection_.get()) != CONNECTION_OK) return;
    PQclear(PQexec(connection_.get(), "ROLLBACK"));
}

}  // namespace kb
