#include "storage/TableSql.h"

#include <utility>

#include "storage/TableDriver.h"

namespace dv {

std::string sqlName(std::string_view name) {
    std::string text = "\"";
    for (const char c : name) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
    return text;
}

TableSql::TableSql(const TableSchema& layout, std::string schema, const SqlDialect& dialect)
    : layout_(layout),
      schema_(std::move(schema)),
      dialect_(&dialect),
      qualified_(sqlName(schema_) + "." + sqlName(dialect.storedName(layout.table().name))) {}

std::string TableSql::name(std::string_view column) const {
    return sqlName(dialect_->storedName(column));
}

std::string TableSql::storedTableName() const {
    return dialect_->storedName(layout_.table().name);
}

std::string TableSql::columnList(const std::vector<int>* columns) const {
    std::string list;
    const auto add = [&](const Column& column) {
        if (!list.empty()) list += ",";
        list += name(column.name);
    };
    if (columns == nullptr)
        for (const Column& column : layout_.columns()) add(column);
    else
        for (const int c : *columns) add(layout_.columns()[static_cast<std::size_t>(c)]);
    return list;
}

std::string TableSql::createTable() const {
    std::string sql = "CREATE TABLE " + qualified_ + " (" + dialect_->rowIdColumn() +
                      ", \"_VERSION\" " + dialect_->integerType() + " NOT NULL DEFAULT 0";
    for (const Column& column : layout_.columns()) sql += ", " + addColumn(column);
    return sql + ")";
}

std::string TableSql::addColumn(const Column& column) const {
    return name(column.name) + " " +
           (column.kind == ColumnKind::Text ? dialect_->textType() + " NOT NULL DEFAULT ''"
                                            : dialect_->integerType() + " NOT NULL DEFAULT 0");
}

std::string TableSql::indexName(int key) const {
    const TableDef& table = layout_.table();
    return std::string(table.name) + ":" +
           std::string(table.keys[static_cast<std::size_t>(key)].name);
}

// The row id that ends every order is implied in SQLite, which keeps the entries of an index
// with equal values in row id order (the key of its table). A unique key is unique over its
// components alone.
std::string TableSql::createIndex(int key, bool withSchema) const {
    const KeyDef& definition = layout_.table().keys[static_cast<std::size_t>(key)];
    std::string sql = definition.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += dialect_->indexTarget(withSchema ? schema_ : std::string(), indexName(key),
                                 storedTableName()) +
           " (";
    const std::vector<OrderTerm>& terms = layout_.order(key);
    const bool withRow = !definition.unique && dialect_->indexesEndInRowId();
    const std::size_t count = withRow ? terms.size() : terms.size() - 1;
    for (std::size_t t = 0; t < count; ++t) {
        if (t > 0) sql += ", ";
        sql += term(terms[t]);
        if (!terms[t].ascending) sql += " DESC";
    }
    return sql + ")";
}

std::string TableSql::insert() const {
    std::string sql = "INSERT INTO " + qualified_ + " (" + columnList() + ") VALUES (";
    for (std::size_t c = 0; c < layout_.columns().size(); ++c)
        sql += (c == 0 ? "" : ",") + parameter(c + 1);
    return sql + ")" + dialect_->returningRow();
}

std::string TableSql::update() const {
    const std::size_t count = layout_.columns().size();
    std::string sql = "UPDATE " + qualified_ + " SET ";
    for (std::size_t c = 0; c < count; ++c)
        sql += name(layout_.columns()[c].name) + "=" + parameter(c + 1) + ",";
    return sql + "\"_VERSION\"=\"_VERSION\"+1 WHERE \"_ROW\"=" + parameter(count + 1) +
           " AND \"_VERSION\"=" + parameter(count + 2);
}

std::string TableSql::update(const std::vector<int>& columns) const {
    std::string sql = "UPDATE " + qualified_ + " SET ";
    for (std::size_t p = 0; p < columns.size(); ++p)
        sql += name(layout_.columns()[static_cast<std::size_t>(columns[p])].name) + "=" +
               parameter(p + 1) + ",";
    return sql + "\"_VERSION\"=\"_VERSION\"+1 WHERE \"_ROW\"=" + parameter(columns.size() + 1) +
           " AND \"_VERSION\"=" + parameter(columns.size() + 2);
}

std::string TableSql::remove() const {
    return "DELETE FROM " + qualified_ + " WHERE \"_ROW\"=" + parameter(1) +
           " AND \"_VERSION\"=" + parameter(2);
}

std::string TableSql::count() const {
    return "SELECT count(*) FROM " + qualified_;
}

std::string TableSql::term(const OrderTerm& term) const {
    if (term.column < 0) return "\"_ROW\"";
    std::string text = name(layout_.columns()[static_cast<std::size_t>(term.column)].name);
    if (term.collated) text += dialect_->noCaseCollation();
    return text;
}

std::string TableSql::rowIds(int key) const {
    const std::vector<OrderTerm>& terms = layout_.order(key);
    std::string where;
    std::size_t bound = 0;
    for (const OrderTerm& component : terms) {
        if (component.column < 0) continue;
        where += (where.empty() ? "" : " AND ") + term(component) + "=" + parameter(++bound);
    }
    return "SELECT \"_ROW\" FROM " + qualified_ + (where.empty() ? "" : " WHERE " + where) +
           " LIMIT " + parameter(bound + 1);
}

std::string TableSql::select(int key, int equal, int after, bool forward,
                             std::string_view condition, bool orEqual,
                             const std::vector<int>* columns) const {
    const std::vector<OrderTerm>& terms = layout_.order(key);
    std::string sql =
        "SELECT \"_ROW\",\"_VERSION\"," + columnList(columns) + " FROM " + qualified_;
    std::string where;
    if (!condition.empty()) where = "(" + std::string(condition) + ")";
    for (int t = 0; t < equal; ++t)
        where += (where.empty() ? "" : " AND ") + term(terms[static_cast<std::size_t>(t)]) + "=" +
                 parameter(static_cast<std::size_t>(t) + 1);
    if (after >= 0) {
        const OrderTerm& strict = terms[static_cast<std::size_t>(after)];
        const bool greater = strict.ascending == forward;
        where += (where.empty() ? "" : " AND ") + term(strict) + (greater ? ">" : "<") +
                 (orEqual ? "=" : "") + parameter(static_cast<std::size_t>(after) + 1);
    }
    if (!where.empty()) sql += " WHERE " + where;
    // The terms of a unique key order its rows fully: the row id that ends every order adds
    // nothing there, and an engine whose unique index does not hold it (a server's) would sort
    // every row after the seek instead of reading the first ones in index order.
    const bool unique =
        key != kFileOrder && layout_.table().keys[static_cast<std::size_t>(key)].unique;
    const std::size_t ordered = unique ? terms.size() - 1 : terms.size();
    std::string orderBy;
    for (std::size_t t = static_cast<std::size_t>(equal); t < ordered; ++t) {
        orderBy += (orderBy.empty() ? "" : ",") + term(terms[t]);
        orderBy += terms[t].ascending == forward ? " ASC" : " DESC";
    }
    if (!orderBy.empty()) sql += " ORDER BY " + orderBy;
    return sql + " LIMIT " + parameter(terms.size() + 1);
}

}  // namespace dv
