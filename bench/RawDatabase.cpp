#include "bench/RawDatabase.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace dv::bench {
namespace {

namespace fs = std::filesystem;

bool wordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// The directory as the table engine names it in its registry of schemas.
std::string normalDirectory(const fs::path& directory) {
    std::error_code ignored;
    const fs::path absolute = fs::absolute(directory, ignored);
    const fs::path normal = fs::weakly_canonical(absolute, ignored);
    return (normal.empty() ? absolute.lexically_normal() : normal).string();
}

}  // namespace

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

std::string serverSql(std::string_view sql) {
    std::string text;
    std::size_t at = 0;
    while (at < sql.size()) {
        const char c = sql[at];
        if (c == '\'') {  // a literal, as it is
            const std::size_t end = sql.find('\'', at + 1);
            text += sql.substr(at, end - at + 1);
            at = end + 1;
        } else if (c == '?') {
            text += '$';
            ++at;
        } else if (std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_') {
            std::size_t end = at;
            while (end < sql.size() && wordCharacter(sql[end])) ++end;
            const std::string_view word = sql.substr(at, end - at);
            if (word == "IFNULL")
                text += "COALESCE";
            else if (word == "SL_NOCASE")
                text += "public.\"sl_nocase\"";
            else if (word.front() == '_')  // the engine's own columns keep their case
                text += "\"" + std::string(word) + "\"";
            else  // folded to lower case, as the server keeps the dictionary's names
                text += word;
            at = end;
        } else {
            text += c;
            ++at;
        }
    }
    return text;
}

namespace {

void prepareOn(PGconn* conn, const std::string& name, const std::string& sql) {
    PGresult* prepared = PQprepare(conn, name.c_str(), sql.c_str(), 0, nullptr);
    const bool done = PQresultStatus(prepared) == PGRES_COMMAND_OK;
    PQclear(prepared);
    check(done, sql + ": " + PQerrorMessage(conn));
}

}  // namespace

ServerStatement::ServerStatement(ServerRaw& db, const char* sql)
    : db_(db), sql_(serverSql(sql)), name_(db.nextName()) {
    prepareOn(db.handle(), name_, sql_);
    PGresult* described = PQdescribePrepared(db.handle(), name_.c_str());
    parameters_.resize(static_cast<std::size_t>(PQnparams(described)));
    PQclear(described);
    values_.resize(parameters_.size());
}

PGresult* ServerStatement::execute() {
    if (++runs_ == replanAt_) {
        replanAt_ *= 4;
        const std::string old = name_;
        name_ = db_.nextName();
        prepareOn(db_.handle(), name_, sql_);
        db_.exec(("DEALLOCATE " + old).c_str());
    }
    for (std::size_t p = 0; p < parameters_.size(); ++p) values_[p] = parameters_[p].c_str();
    return PQexecPrepared(db_.handle(), name_.c_str(), static_cast<int>(values_.size()),
                          values_.data(), nullptr, nullptr, 0);
}

bool ServerStatement::row() {
    if (result_ == nullptr) {
        result_ = execute();
        check(PQresultStatus(result_) == PGRES_TUPLES_OK, PQerrorMessage(db_.handle()));
        row_ = 0;
    } else {
        ++row_;
    }
    return row_ < PQntuples(result_);
}

void ServerStatement::run() {
    PGresult* result = execute();
    const ExecStatusType status = PQresultStatus(result);
    const bool done = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    if (done) db_.noteChanges(std::strtoll(PQcmdTuples(result), nullptr, 10));
    PQclear(result);
    check(done, PQerrorMessage(db_.handle()));
}

ServerRaw::ServerRaw(const std::string& connection, const fs::path& directory)
    : conn_(PQconnectdb(connection.c_str())) {
    check(PQstatus(conn_) == CONNECTION_OK, PQerrorMessage(conn_));
    const std::string normal = normalDirectory(directory);
    const char* values[] = {normal.c_str()};
    PGresult* found = PQexecParams(
        conn_, "SELECT \"SCHEMA\" FROM public.\"_SCHEMAS\" WHERE \"DIRECTORY\" = $1", 1, nullptr,
        values, nullptr, nullptr, 0);
    const bool known = PQresultStatus(found) == PGRES_TUPLES_OK && PQntuples(found) == 1;
    const std::string schema = known ? PQgetvalue(found, 0, 0) : "";
    PQclear(found);
    check(known, "no schema for " + normal);
    exec(("SET search_path TO \"" + schema + "\", public").c_str());
}

ServerRaw::~ServerRaw() {
    PQfinish(conn_);
}

void ServerRaw::exec(const char* sql) {
    PGresult* result = PQexec(conn_, sql);
    const bool done = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    check(done, std::string(sql) + ": " + PQerrorMessage(conn_));
}

}  // namespace dv::bench
