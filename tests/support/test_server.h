#pragma once
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "server/pg_connection.h"
#include "store/schema.h"
#include "store/store.h"

namespace kb::test {

// A fresh, empty database on the test server that KB_TEST_SERVER names ("host=... port=... user=..."), dropped
// at the end. Without that server, `settings` is empty and `unavailable` says why: the test skips with it.
class TestDatabase {
public:
    TestDatabase() {
        const char* address = std::getenv("KB_TEST_SERVER");
        if (address == nullptr || *address == '\0') {
            unavailable = "no test server: KB_TEST_SERVER is not set (scripts/test.sh starts one)";
            return;
        }
        ServerSettings admin = ParseServerSettings(std::string(address) + " database=postgres");
        std::random_device random;
        const std::string name = "kb_test_" + std::to_string(random());
        if (!run(admin, "CREATE DATABASE " + name)) return;
        admin_ = admin;
        settings = admin;
        settings->database = name;
    }
    ~TestDatabase() {
        if (admin_) run(*admin_, "DROP DATABASE IF EXISTS " + settings->database + " WITH (FORCE)");
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    std::optional<ServerSettings> settings;
    std::string unavailable;

private:
    bool run(const ServerSettings& server, const std::string& sql) {
        try {
            PgConnection connection(server);
            connection.exec(sql, connection.target(kLoanTable));
            return true;
        } catch (const StoreError& error) {
            unavailable = "the test server (KB_TEST_SERVER) refused: " + std::string(error.what());
            return false;
        }
    }

    std::optional<ServerSettings> admin_;
};

}  // namespace kb::test
