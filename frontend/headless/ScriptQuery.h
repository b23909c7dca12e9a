#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dv {

// The read-only queries of the `sql` script command, on the database of a data directory (the
// company database of its parent directory attached, when there is one). Each query opens its
// own read-only connection, so it sees what the procedures have committed and can change
// nothing.
class ScriptQuery {
  public:
    explicit ScriptQuery(std::filesystem::path dataDirectory)
        : dataDirectory_(std::move(dataDirectory)) {}

    // The result as text: rows joined by "\n", columns by "|", NULL as an empty text. Nothing,
    // with the reason in `error`, when there is no database or the query fails. Only one
    // statement is taken.
    std::optional<std::string> run(const std::string& sql, std::string& error) const;

  private:
    std::filesystem::path dataDirectory_;
};

}  // namespace dv
