#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dv {

class SqlConnection;

// The read-only queries of the `sql` script command on the tables of a data directory (those of
// the company, in its parent directory, as well). They run on the program's own connection,
// through the current table access, so they see what the procedures have committed; the
// storage layer refuses a statement that would change anything (see ReadOnlyQuery.h).
class ScriptQuery {
  public:
    explicit ScriptQuery(std::filesystem::path dataDirectory)
        : dataDirectory_(std::move(dataDirectory)) {}

    // The result as text: rows joined by "\n", columns by "|", NULL as an empty text. Nothing,
    // with the reason in `error`, when there is no database or the query fails. Only one
    // statement is taken.
    std::optional<std::string> run(const std::string& sql, std::string& error) const;

  private:
    std::optional<std::string> runOnServer(SqlConnection& connection, const std::string& sql,
                                           std::string& error) const;

    std::filesystem::path dataDirectory_;
};

}  // namespace dv
