#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "runtime/Date.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/FilterSql.h"
#include "storage/FilterSqlFunctions.h"
#include "storage/SqlRecord.h"

namespace dv::test {
namespace {

using Codes = std::vector<std::string>;

// Runs filters over a table made by the engine: the condition in the database, the residual on
// each row read into the record buffer. Every filter is also evaluated row by row alone over
// all rows, which must select the same rows.
class FilterSqlTable : public ::testing::Test {
  protected:
    // Rows are told apart by the text column `code`.
    FilterSqlTable(const TableDef& table, const NameResolver& names, void* buffer, const char* code)
        : table_(table), names_(names), buffer_(buffer) {
        EXPECT_EQ(registerExpressionFunctions(db_.handle()), SQLITE_OK);
        std::string schema;
        DriverError error;
        EXPECT_EQ(db_.schemaFor(directory_.path(), false, schema, error), DriverCode::Ok);
        from_ = " FROM " + TableSql(layout_, schema, db_.dialect()).qualifiedName();
        columns_ = sqlName(code);
        for (const Column& column : layout_.columns()) columns_ += "," + sqlName(column.name);
    }

    void add() { ASSERT_EQ(driver_->add(), DriverCode::Ok) << driver_->lastError().text; }

    // The codes of the rows the filter selects, checked against row by row.
    Codes select(const std::string& text, int firstParameter = 1, const std::string& before = "") {
        const Expression filter = Expression::compile(text, names_);
        const FilterSql split(filter, layout_);
        std::string where = before;
        const std::string condition = split.condition(firstParameter, db_.dialect());
        if (!condition.empty()) where += (where.empty() ? "" : " AND ") + condition;
        const Codes viaDatabase =
            read(where, firstParameter, split, [&] { return split.residualMatches(); });
        EXPECT_EQ(viaDatabase, read("", 1, split, [&] { return filter.isTrue(); })) << text;
        lastCondition = condition;
        return viaDatabase;
    }

    std::string lastCondition;

  private:
    template <typename Test>
    Codes read(const std::string& where, int firstParameter, const FilterSql& split, Test test) {
        std::string sql = "SELECT " + columns_ + from_;
        if (!where.empty()) sql += " WHERE " + where;
        SqliteStatement statement(db_.handle(), sql + " ORDER BY \"_ROW\"");
        EXPECT_EQ(statement.prepareResult(), SQLITE_OK) << sqlite3_errmsg(db_.handle()) << sql;
        if (!where.empty()) {
            for (int p = 1; p < firstParameter; ++p) statement.bind(p, std::int64_t{p});
            split.bind(statement, firstParameter);
        }
        Codes codes;
        StepResult result = StepResult::Row;
        while ((result = statement.step()) == StepResult::Row) {
            readRecord(statement, 1, layout_, buffer_);
            if (test()) codes.push_back(std::string(statement.text(0)));
        }
        EXPECT_EQ(result, StepResult::Done) << sqlite3_errmsg(db_.handle());
        return codes;
    }

    const TableDef& table_;
    const NameResolver& names_;
    void* buffer_;
    TempDirectory directory_;
    SqliteDatabase db_;
    std::unique_ptr<SqliteTable> driver_ = openTable(db_, table_, directory_.path(), buffer_);
    TableSchema layout_{table_};
    std::string from_;
    std::string columns_;
};

const std::string attack = "O'Brien' OR 1=1 --";

class StocktakeLineFilters : public FilterSqlTable {
  protected:
    StocktakeLineFilters() : FilterSqlTable(*findTable("INVENDET"), names, &INVENDET, "EAN") {
        clearProgramGlobals();
        line("A1", 1, "Ana", "2", "2", 1);
        line("A2", 2, "ana", "0", "1.5", 0);
        line("A3", 3, "Čebula", "5", "0", 0);
        line("A4", 3, "Cvet", "1.25", "1.501", 0);
        line("A5", 5, "Šipek", "0", "0", 1);
        line("A6", 7, attack, "1", "1", 0);
        line("A7", 0, "", "0", "-1.5", 0);
    }
    ~StocktakeLineFilters() override {
        clearAllRecordBuffers();
        clearProgramGlobals();
    }

    void line(const char* code, int group, const std::string& name, const char* book,
              const char* counted, int entered) {
        clearRecord(*findTable("INVENDET"), &INVENDET);
        INVENDET.EAN = code;
        INVENDET.Skupina = static_cast<std::uint16_t>(group);
        INVENDET.Naziv = name;
        INVENDET.RacZaloga = *Decimal::parse(book);
        INVENDET.PopisanaZaloga = *Decimal::parse(counted);
        INVENDET.NABCENA = *Decimal::parse("1.5");
        INVENDET.NarejenVnos = static_cast<std::uint16_t>(entered);
        add();
    }

    ProgramNames names;
};

struct Case {
    const char* filter;
    Codes rows;
};

TEST_F(StocktakeLineFilters, TheDatabaseSelectsWhatTheEvaluatorSelects) {
    GLO.OdSkupine = 2;
    GLO.DoSkupine = 3;
    const Codes all{"A1", "A2", "A3", "A4", "A5", "A6", "A7"};
    const Case cases[] = {
        {"INVENDET:Skupina >= GLO:OdSkupine AND INVENDET:Skupina <= GLO:DoSkupine",
         {"A2", "A3", "A4"}},
        {"(INVENDET:NarejenVnos = 0 AND INVENDET:RacZaloga <> 0)", {"A3", "A4", "A6"}},
        {"(INVENDET:NarejenVnos = 1)", {"A1", "A5"}},
        {"INVENDET:RacZaloga <> INVENDET:PopisanaZaloga", {"A2", "A3", "A4", "A7"}},
        {"INVENDET:RacZaloga > INVENDET:NABCENA", {"A1", "A3"}},
        {"NOT (INVENDET:Skupina = 3 OR INVENDET:NarejenVnos = 1)", {"A2", "A6", "A7"}},
        {"GLO:DoSkupine = 0 OR INVENDET:Skupina <= GLO:DoSkupine", {"A1", "A2", "A3", "A4", "A7"}},
        {"INVENDET:Skupina = '3'", {"A3", "A4"}},
        {"3 < INVENDET:Skupina OR GLO:OdSkupine > INVENDET:Skupina", {"A1", "A5", "A6", "A7"}},
        {"-INVENDET:PopisanaZaloga > 1", {"A7"}},
        {"TODAY() > 0 AND INVENDET:Skupina = 5", {"A5"}},
        // Text: trailing blanks do not count, case and the letters' order do.
        {"INVENDET:Naziv = 'Ana   '", {"A1"}},
        {"INVENDET:Naziv < 'C'", {"A1", "A7"}},
        {"INVENDET:Naziv = ''", {"A7"}},
        {"NOT INVENDET:Naziv", {"A7"}},
        {"UPPER(INVENDET:Naziv) = 'ANA'", {"A1", "A2"}},
        {"UPPER(INVENDET:Naziv) >= 'Č'", {"A3", "A5"}},
        {"SUB(INVENDET:Naziv, 1, 2) = 'Če'", {"A3"}},
        {"INSTRING('e', INVENDET:Naziv) > 0", {"A3", "A4", "A5", "A6"}},
        {"LEN(INVENDET:Naziv) = 4", {"A4"}},
        // A text field against a number compares numbers: names that are no number read 0.
        {"INVENDET:Naziv = 3", {}},
        {"INVENDET:Naziv = 0", all},
        // Decimal literals with more places than the field.
        {"INVENDET:PopisanaZaloga = 1.5", {"A2"}},
        {"INVENDET:PopisanaZaloga = '1.5'", {"A2"}},
        {"INVENDET:PopisanaZaloga = 1.5001", {}},
        {"INVENDET:PopisanaZaloga <> 1.5001", all},
        {"INVENDET:PopisanaZaloga > 1.4999", {"A1", "A2", "A4"}},
        {"INVENDET:PopisanaZaloga <= 1.5009", {"A2", "A3", "A5", "A6", "A7"}},
        {"INVENDET:PopisanaZaloga < -1.4999", {"A7"}},
        {"INVENDET:PopisanaZaloga >= -1.5001", all},
        {"INVENDET:PopisanaZaloga < 99999999999999999999999", all},
        {"INVENDET:PopisanaZaloga > -99999999999999999999999.5", all},
        {"INVENDET:PopisanaZaloga = 99999999999999999999999", {}},
        // Parts the database cannot do stay for the rows.
        {"INLIST(INVENDET:EAN, 'A1', 'A5') > 0", {"A1", "A5"}},
        {"INVENDET:Skupina >= 3 AND INLIST(INVENDET:EAN, 'A3', 'A5', 'A6') > 0",
         {"A3", "A5", "A6"}},
        {"INVENDET:Skupina = 3 OR SFGRUPE:Naziv = 'X'", {"A3", "A4"}},
    };
    for (const Case& c : cases) EXPECT_EQ(select(c.filter), c.rows) << c.filter;
}

TEST_F(StocktakeLineFilters, AGlobalChangedBetweenTwoRefreshesChangesTheRows) {
    const Expression filter = Expression::compile(
        "INVENDET:Skupina >= GLO:OdSkupine AND INVENDET:Skupina <= GLO:DoSkupine", names);
    const FilterSql split(filter, TableSchema(*findTable("INVENDET")));
    EXPECT_FALSE(split.hasResidual());
    EXPECT_EQ(split.parameterCount(), 2);
    const std::string condition = split.condition(1, SqliteDialect());
    GLO.OdSkupine = 2;
    GLO.DoSkupine = 3;
    EXPECT_EQ(split.parameterValues(), (std::vector<KeyValue>{std::int64_t{2}, std::int64_t{3}}));
    EXPECT_EQ(select(filter.text()), (Codes{"A2", "A3", "A4"}));
    GLO.OdSkupine = 5;
    GLO.DoSkupine = 7;
    EXPECT_EQ(select(filter.text()), (Codes{"A5", "A6"}));
    EXPECT_EQ(lastCondition, condition);
}

TEST_F(StocktakeLineFilters, TypedTextIsBoundNeverWrittenIntoTheSql) {
    GLO.NAZIVIZPISA = attack;
    EXPECT_EQ(select("INVENDET:Naziv = GLO:NAZIVIZPISA"), (Codes{"A6"}));
    EXPECT_EQ(lastCondition.find("Brien"), std::string::npos) << lastCondition;
    EXPECT_EQ(select("INVENDET:Naziv = " + quoteExpressionText(attack)), (Codes{"A6"}));
    EXPECT_EQ(lastCondition.find("Brien"), std::string::npos) << lastCondition;
    EXPECT_EQ(select("UPPER(INVENDET:Naziv) = UPPER(" + quoteExpressionText(attack) + ")"),
              (Codes{"A6"}));
    EXPECT_EQ(lastCondition.find("BRIEN"), std::string::npos) << lastCondition;
    EXPECT_EQ(select("INVENDET:Naziv = " + quoteExpressionText("x' OR '1'='1")), Codes{});
}

TEST_F(StocktakeLineFilters, OnlyTheUntranslatablePartsStayForTheRows) {
    const TableSchema layout(*findTable("INVENDET"));
    const auto split = [&](const std::string& text) {
        const Expression filter = Expression::compile(text, names);
        const FilterSql result(filter, layout);
        return std::tuple{result.condition(1, SqliteDialect()), result.parameterCount(),
                          result.hasResidual()};
    };
    const auto [mixed, mixedParameters, mixedResidual] = split(
        "INVENDET:Skupina >= 3 AND INLIST(INVENDET:EAN, 'A3') > 0 AND "
        "(INVENDET:NarejenVnos = 1 OR SFGRUPE:Naziv = 'X') AND UPPER(INVENDET:Naziv) = 'ANA'");
    EXPECT_NE(mixed.find("\"SKUPINA\""), std::string::npos) << mixed;
    EXPECT_NE(mixed.find("DV_UPPER(\"NAZIV\")"), std::string::npos) << mixed;
    EXPECT_EQ(mixed.find("EAN"), std::string::npos) << mixed;
    EXPECT_EQ(mixed.find("NAREJENVNOS"), std::string::npos) << mixed;
    EXPECT_EQ(mixedParameters, 2);
    EXPECT_TRUE(mixedResidual);

    const auto [none, noParameters, onlyResidual] = split("INLIST(INVENDET:EAN, 'A3') > 0");
    EXPECT_EQ(none, "");
    EXPECT_EQ(noParameters, 0);
    EXPECT_TRUE(onlyResidual);
}

TEST_F(StocktakeLineFilters, ParametersFollowThoseOfTheRestOfTheStatement) {
    // ?1 and ?2 belong to the statement (bound 1 and 2); the filter's start at ?3.
    EXPECT_EQ(select("INVENDET:Skupina >= 3 AND INVENDET:Naziv <> 'Cvet'", 3,
                     "\"NAREJENVNOS\" < ?2 AND \"SKUPINA\" >= ?1"),
              (Codes{"A3", "A5", "A6"}));
    EXPECT_EQ(lastCondition.find("?1"), std::string::npos);
}

// Dates are day numbers: the date range of the option windows against a date field.
class DateFilters : public FilterSqlTable {
  protected:
    DateFilters() : FilterSqlTable(peopleTable(), names, peopleTable().buffer, "CODE") {
        clearProgramGlobals();
        for (const auto& [code, day] :
             {std::pair{"D1", dayNumber(2024, 1, 31)}, std::pair{"D2", dayNumber(2024, 2, 1)},
              std::pair{"D3", dayNumber(2024, 2, 29)}, std::pair{"D4", 0}}) {
            buffer = person(code, "", 0, day);
            add();
        }
    }
    ~DateFilters() override { clearProgramGlobals(); }

    PersonRecord& buffer = *static_cast<PersonRecord*>(peopleTable().buffer);
    RecordFieldResolver fields{{&peopleTable()}};
    NameResolverChain names{&programGlobalNames(), &fields};
};

TEST_F(DateFilters, ADateRangeSelectsTheDaysWithinIt) {
    GLO.OdDatuma = dayNumber(2024, 2, 1);
    GLO.DoDatuma = dayNumber(2024, 2, 29);
    EXPECT_EQ(select("PEOPLE:Day >= GLO:OdDatuma AND PEOPLE:Day <= GLO:DoDatuma"),
              (Codes{"D2", "D3"}));
    GLO.DoDatuma = 0;
    EXPECT_EQ(select("PEOPLE:Day >= GLO:OdDatuma AND (GLO:DoDatuma = 0 OR PEOPLE:Day <= "
                     "GLO:DoDatuma)"),
              (Codes{"D2", "D3"}));
    EXPECT_EQ(select("PEOPLE:Day = 0"), (Codes{"D4"}));
    setFixedToday(dayNumber(2024, 2, 10));
    EXPECT_EQ(select("PEOPLE:Day > 0 AND PEOPLE:Day < TODAY()"), (Codes{"D1", "D2"}));
    setFixedToday(0);
}

}  // namespace
}  // namespace dv::test
