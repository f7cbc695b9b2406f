#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kb {

// The settings file that puts a book on a PostgreSQL server several desks share. When the book folder holds it,
// the program keeps the book there instead of in the three SQLite files. The password is never kept by us: the
// server's client library takes it from the user's PostgreSQL password file (~/.pgpass).
inline constexpr const char* kServerSettingsFile = "KB_SERVER.CFG";

struct ServerSettings {
    std::string host;  // a name, an address, or the folder of a local server's socket
    std::string port = "5432";
    std::string database;
    std::string user;  // empty: the desk's login name
    bool operator==(const ServerSettings&) const = default;
};

// Reads "name = value" pairs, one a line or separated by blanks: host, port, database, user. A '#' starts a
// comment. Throws StoreError naming what is wrong: an unknown name, a pair without '=', no host or no database.
ServerSettings ParseServerSettings(std::string_view text);

// The settings file of the book folder; nothing when there is none. Throws StoreError when it cannot be read.
std::optional<ServerSettings> ReadServerSettings(const std::string& folder);

// "database kestrel on db1, port 5432, user desk1", as messages name the server.
std::string ServerName(const ServerSettings& settings);

}  // namespace kb
