#pragma once
#include <SQLiteCpp/Database.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/schema.h"
#include "store/sqlite_errors.h"

// Private to store/: the one way a file of the book is opened.

namespace kb {

// One connection for one operation: the file of `table` as main, other files attached. Never creates a file.
// Every schema is kept in the rollback journal (DELETE mode, read back) with synchronous=FULL, so that a commit
// across attached files is atomic.
class Connection {
public:
    Connection(const std::string& path, const TableDef& table);

    void attach(const std::string& path, const TableDef& table, std::string_view schema);

    SQLite::Database& db() { return db_; }

    // The target of a statement on the main file or on an attached one, writing the record with `key`.
    Target target(std::string key = "") const { return {main_.table, main_.file, std::move(key)}; }
    Target target(std::string_view schema, std::string key) const;
    // The target of what touches every file at once: the commit.
    Target allFiles() const { return {main_.table, files_, ""}; }

private:
    Target main_;
    std::string files_;
    std::vector<std::pair<std::string, Target>> schemas_;
    SQLite::Database db_;
};

}  // namespace kb
