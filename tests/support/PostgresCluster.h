#pragma once

#include <filesystem>
#include <string>

namespace dv::test {

// A throwaway PostgreSQL cluster for the tests of the server engine: made with initdb in a
// temporary folder, run by an unprivileged user (the system's "postgres" when the tests run as
// root, which initdb refuses), listening on a Unix socket in that folder only, and stopped and
// removed when the test program ends. One per test program: starting a cluster takes a second
// or two, so every test of the program shares it and keeps apart by its own data directories
// (each a schema of its own).
class PostgresCluster {
  public:
    // The cluster, started at the first call; nullptr when it could not be (see whyNot).
    static PostgresCluster* shared();
    static const std::string& whyNot();

    // The connection string of the cluster's database "dideroviv".
    std::string connection() const;
    // The connection string of another database of the cluster.
    std::string connection(const std::string& database) const;
    // The connection string of a database that does not exist.
    std::string missingDatabase() const;
    const std::filesystem::path& folder() const { return folder_; }

    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

  private:
    PostgresCluster() = default;
    bool start(std::string& error);
    bool run(const std::string& command, std::string& error) const;

    std::filesystem::path folder_;
    std::string prefix_;  // runs a command as the cluster's user
    bool running_ = false;
    int owner_ = 0;  // the process that started it
};

}  // namespace dv::test
