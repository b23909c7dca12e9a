#include "support/PostgresCluster.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

namespace dv::test {
namespace fs = std::filesystem;

namespace {

constexpr const char* kBin = "/usr/lib/postgresql/15/bin/";
constexpr const char* kDatabase = "dideroviv";

std::string& failure() {
    static std::string text;
    return text;
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

PostgresCluster* PostgresCluster::shared() {
    static const std::unique_ptr<PostgresCluster> cluster = [] {
        std::unique_ptr<PostgresCluster> made(new PostgresCluster());
        if (!made->start(failure())) made.reset();
        return made;
    }();
    return cluster.get();
}

const std::string& PostgresCluster::whyNot() {
    return failure();
}

// The folder's paths are ours (mkdtemp), so they go into the commands as they are.
bool PostgresCluster::run(const std::string& command, std::string& error) const {
    const fs::path log = folder_ / "command.log";
    const std::string line = prefix_ + command + " >" + log.string() + " 2>&1";
    if (std::system(line.c_str()) == 0) return true;
    error = command + " failed: " + readAll(log);
    return false;
}

bool PostgresCluster::start(std::string& error) {
    owner_ = ::getpid();
    if (!fs::exists(std::string(kBin) + "initdb")) {
        error = "PostgreSQL 15 is not installed";
        return false;
    }
    std::string pattern = (fs::temp_directory_path() / "dv-pg-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = "no temporary folder for the cluster";
        return false;
    }
    folder_ = pattern;
    if (::geteuid() == 0) {
        const passwd* user = ::getpwnam("postgres");
        if (user == nullptr || ::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0) {
            error = "the user postgres cannot own the cluster's folder";
            return false;
        }
        prefix_ = "runuser -u postgres -- ";
    }
    const std::string data = (folder_ / "data").string();
    if (!run(std::string(kBin) + "initdb -D " + data +
                 " -U postgres -A trust -E UTF8 --locale=C --no-sync",
             error))
        return false;
    const std::string options = "-c listen_addresses='' -c unix_socket_directories=" +
                                folder_.string() + " -c fsync=off -c synchronous_commit=off";
    if (!run(std::string(kBin) + "pg_ctl -D " + data + " -w -l " + (folder_ / "server.log").string() +
                 " -o \"" + options + "\" start",
             error))
        return false;
    running_ = true;
    return run(std::string(kBin) + "createdb -h " + folder_.string() + " -U postgres " + kDatabase,
               error);
}

PostgresCluster::~PostgresCluster() {
    // A forked child that ends normally leaves the cluster to the test program that started it.
    if (owner_ != ::getpid()) return;
    std::string ignored;
    if (running_)
        run(std::string(kBin) + "pg_ctl -D " + (folder_ / "data").string() + " -m immediate stop",
            ignored);
    std::error_code ignoredCode;
    if (!folder_.empty()) fs::remove_all(folder_, ignoredCode);
}

std::string PostgresCluster::connection() const {
    return connection(kDatabase);
}

std::string PostgresCluster::connection(const std::string& database) const {
    return "host=" + folder_.string() + " user=postgres dbname=" + database;
}

std::string PostgresCluster::missingDatabase() const {
    return "host=" + folder_.string() + " user=postgres dbname=nobody_made_this";
}

}  // namespace dv::test
