#include "server/server_settings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/store.h"

namespace kb {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

// The text without comments, with blanks around each '=' removed so that every pair is one word.
std::string PairsOnly(std::string_view text) {
    std::string pairs;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find('#'));
        std::string joined;
        for (std::size_t at = 0; at < line.size(); ++at) {
            if (line[at] == '=') {
                while (!joined.empty() && kBlanks.find(joined.back()) != std::string_view::npos) joined.pop_back();
                joined += '=';
                while (at + 1 < line.size() && kBlanks.find(line[at + 1]) != std::string_view::npos) ++at;
            } else {
                joined += line[at];
            }
        }
        pairs += joined + '\n';
    }
    return pairs;
}

void SetValue(ServerSettings& settings, const std::string& name, const std::string& value) {
    if (name == "host") {
        settings.host = value;
    } else if (name == "port") {
        settings.port = value;
    } else if (name == "database") {
        settings.database = value;
    } else if (name == "user") {
        settings.user = value;
    } else {
        throw StoreError(std::string(kServerSettingsFile) + ": there is no setting \"" + name +
                         "\" (host, port, database and user are)");
    }
}

}  // namespace

ServerSettings ParseServerSettings(std::string_view text) {
    ServerSettings settings;
    std::istringstream words(PairsOnly(text));
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) {
            throw StoreError(std::string(kServerSettingsFile) + ": \"" + word + "\" is not of the form name = value");
        }
        SetValue(settings, word.substr(0, equals), Trimmed(word.substr(equals + 1)));
    }
    if (settings.host.empty() || settings.database.empty()) {
        throw StoreError(std::string(kServerSettingsFile) + " must name the host and the database of the book server");
    }
    return settings;
}

std::optional<ServerSettings> ReadServerSettings(const std::string& folder) {
    const std::filesystem::path path = std::filesystem::path(folder) / kServerSettingsFile;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    std::ifstream file(path);
    if (!file.is_open()) throw StoreError(std::string(kServerSettingsFile) + " cannot be read");
    std::stringstream text;
    text << file.rdbuf();
    return ParseServerSettings(text.str());
}

std::string ServerName(const ServerSettings& settings) {
    std::string name = "database " + settings.database + " on " + settings.host + ", port " + settings.port;
    if (!settings.user.empty()) name += ", user " + settings.user;
    return name;
}

}  // namespace kb
