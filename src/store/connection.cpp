#include "store/connection.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "core/error_trap.h"
#include "core/format.h"

namespace kb {

namespace {

constexpr int kBusyTimeoutMs = 2000;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return AsciiUpper(x) == AsciiUpper(y);
    });
}

// A file left in WAL mode would break the atomic commit across attached files, so every schema is switched to
// the rollback journal, and the switch is read back.
void UseRollbackJournal(SQLite::Database& db, std::string_view schema, const std::string& file) {
    const std::string prefix = "PRAGMA " + std::string(schema) + ".";
    const std::string mode = db.execAndGet(prefix + "journal_mode = DELETE").getString();
    if (!EqualsNoCase(mode, "delete")) {
        throw StoreError(file + " is kept in " + mode +
                         " journal mode by another program and cannot be switched back; close that program and "
                         "try again");
    }
    db.exec(prefix + "synchronous = FULL");
}

// A double-quoted name that is not a column would otherwise be read as a text literal: a file whose table lacks a
// field would read that field's name as its value instead of being refused.
void UseStrictNames(SQLite::Database& db) {
    sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int*>(nullptr));
    sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_DQS_DDL, 0, static_cast<int*>(nullptr));
}

void RequireFile(const std::string& path, const std::string& file) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw StoreError(file + " was not found");
}

// The file opened with `flags`, its main schema in the rollback journal.
SQLite::Database OpenFile(const std::string& path, int flags, const Target& target) {
    return Guarded(target, [&] {
        SQLite::Database db(path, flags, kBusyTimeoutMs);
        UseStrictNames(db);
        UseRollbackJournal(db, "main", target.file);
        return db;
    });
}

SQLite::Database OpenExistingFile(const std::string& path, const Target& target) {
    RequireFile(path, target.file);
    return OpenFile(path, SQLite::OPEN_READWRITE, target);
}

}  // namespace

// ---- Connections --------------------------------------------------------------------------------------------

Connection::Connection(const std::string& path, const TableDef& table)
    : main_{&table, FileName(path), ""}, files_(main_.file), db_(OpenExistingFile(path, main_)) {}

void Connection::attach(const std::string& path, const TableDef& table, std::string_view schema) {
    const Target target{&table, FileName(path), ""};
    RequireFile(path, target.file);
    Guarded(target, [&] {
        SQLite::Statement attach(db_, "ATTACH DATABASE ?1 AS " + std::string(schema));
        attach.bind(1, path);
        attach.exec();
        UseRollbackJournal(db_, schema, target.file);
    });
    files_ += ", " + target.file;
    schemas_.emplace_back(std::string(schema), target);
}

Target Connection::target(std::string_view schema, std::string key) const {
    for (const auto& [name, attached] : schemas_) {
        if (name == schema) return {attached.table, attached.file, std::move(key)};
    }
    return target(std::move(key));
}

// ---- Files --------------------------------------------------------------------------------------------------

void CreateTableFile(const std::string& path, TableNumber table) {
    const TableDef& definition = TableOf(table);
    const Target target{&definition, FileName(path), ""};
    std::error_code error;
    if (std::filesystem::exists(path, error)) throw StoreError(target.file + " already exists");
    try {
        SQLite::Database db = OpenFile(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE, target);
        Guarded(target, [&] { db.exec(CreateTableSql(definition)); });
    } catch (...) {
        // A half-made file would pass for a present one at the next start.
        std::filesystem::remove(path, error);
        throw;
    }
}

void CheckTableFile(const std::string& path, TableNumber table) {
    const TableDef& definition = TableOf(table);
    Connection connection(path, definition);
    const Target target = connection.target();
    const auto columns = Guarded(target, [&] {
        SQLite::Statement info(connection.db(), "PRAGMA main.table_info(" + Quoted(definition.name) + ")");
        std::vector<std::string> names;
        while (info.executeStep()) names.push_back(info.getColumn(1).getString());
        return names;
    });
    if (columns.empty()) throw StoreError(target.file + " has no table " + std::string(definition.name));
    const std::string inTable = target.file + ": table " + std::string(definition.name);
    for (std::size_t i = 0; i < definition.fields.size(); ++i) {
        const std::string_view field = definition.fields[i].name;
        if (i < columns.size() && EqualsNoCase(columns[i], field)) continue;
        const bool elsewhere =
            std::any_of(columns.begin(), columns.end(), [&](const std::string& c) { return EqualsNoCase(c, field); });
        if (elsewhere) throw StoreError(inTable + " has field " + std::string(field) + " out of its place");
        throw StoreError(NoSuchField(target, field));
    }
    if (columns.size() > definition.fields.size()) {
        throw StoreError(inTable + " has an unknown field " + columns[definition.fields.size()]);
    }
}

void MakeDBFile(const std::string& path, int tableNumber, Dialogs& dialogs) {
    static constexpr const char* kLabel = "MAKE DB FILE";
    ErrorTrap trap(dialogs, kLabel);
    if (!trap.run([&] { CreateTableFile(path, static_cast<TableNumber>(tableNumber)); })) {
        trap.record(trap.description() + "/" + std::to_string(tableNumber));
    }
}

}  // namespace kb
