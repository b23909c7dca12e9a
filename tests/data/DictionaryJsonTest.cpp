#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "FilesTestSupport.h"
#include "data/Dictionary.h"

namespace dv {
namespace {

// Reads the JSON the program writes with Python's own parser, so that any syntax error fails the
// test, and answers queries against it: a query is a path of object keys and list selectors (an
// index, or the value of an element's "name" or "field"); the answer is the JSON of the value.
constexpr const char* kQueryScript = R"(
import json, sys
data = json.load(open(sys.argv[1], encoding='utf-8'))
def select(node, part):
    if isinstance(node, list):
        if part.lstrip('-').isdigit():
            return node[int(part)]
        for item in node:
            if part in (item.get('name'), item.get('field')):
                return item
        raise KeyError(part)
    return node[part]
with open(sys.argv[2], encoding='utf-8') as queries, open(sys.argv[3], 'w', encoding='utf-8') as out:
    for line in queries.read().splitlines():
        node = data
        try:
            for part in line.split('/'):
                node = select(node, part)
            out.write(json.dumps(node, ensure_ascii=False) + '\n')
        except (KeyError, IndexError):
            out.write('<missing>\n')
)";

class DictionaryJson : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0) return;
        scratch_ = new test::TempDir();
        const auto json = *scratch_ / "dictionary.json";
        const std::string command =
            std::string("'") + DV_EXECUTABLE + "' dictionary --json > '" + json.string() + "'";
        exitCode_ = std::system(command.c_str());
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }

    void SetUp() override {
        if (!scratch_) GTEST_SKIP() << "python3 is needed to parse the JSON";
        ASSERT_EQ(exitCode_, 0);
    }

    // Answers to the queries, in order.
    static std::vector<std::string> ask(const std::vector<std::string>& queries) {
        std::string text;
        for (const std::string& q : queries) text += q + "\n";
        test::writeBytes(*scratch_ / "queries.txt", text);
        test::writeBytes(*scratch_ / "query.py", kQueryScript);
        const std::string command = "python3 '" + (*scratch_ / "query.py").string() + "' '" +
                                    (*scratch_ / "dictionary.json").string() + "' '" +
                                    (*scratch_ / "queries.txt").string() + "' '" +
                                    (*scratch_ / "answers.txt").string() + "'";
        if (std::system(command.c_str()) != 0) return {"<the JSON does not parse>"};
        std::vector<std::string> answers;
        std::string answer;
        for (char c : test::readBytes(*scratch_ / "answers.txt")) {
            if (c != '\n') {
                answer += c;
                continue;
            }
            answers.push_back(answer);
            answer.clear();
        }
        return answers;
    }

    // Checks each query against its expected JSON.
    static void expectAnswers(const std::map<std::string, std::string>& expected) {
        std::vector<std::string> queries;
        for (const auto& [query, answer] : expected) queries.push_back(query);
        const auto answers = ask(queries);
        ASSERT_EQ(answers.size(), queries.size()) << (answers.empty() ? "" : answers[0]);
        for (std::size_t i = 0; i < queries.size(); ++i)
            EXPECT_EQ(answers[i], expected.at(queries[i])) << queries[i];
    }

    static inline test::TempDir* scratch_ = nullptr;
    static inline int exitCode_ = -1;
};

TEST_F(DictionaryJson, HoldsEveryTableInOrderWithItsSize) {
    std::vector<std::string> queries;
    for (std::size_t i = 0; i < dictionary().size(); ++i) {
        queries.push_back(std::to_string(i) + "/name");
        queries.push_back(std::to_string(i) + "/recordSize");
    }
    queries.push_back(std::to_string(dictionary().size()));
    const auto answers = ask(queries);
    ASSERT_EQ(answers.size(), queries.size());
    for (std::size_t i = 0; i < dictionary().size(); ++i) {
        EXPECT_EQ(answers[2 * i], "\"" + std::string(dictionary()[i].name) + "\"");
        EXPECT_EQ(answers[2 * i + 1], std::to_string(dictionary()[i].recordSize));
    }
    EXPECT_EQ(answers.back(), "<missing>");  // nothing after the last table
}

TEST_F(DictionaryJson, DescribesTablesFieldsAndKeys) {
    expectAnswers({
        {"DOKUMENT/prefix", "\"DOK\""},
        {"DOKUMENT/file", "\"DOKUMENT.TPS\""},
        {"DOKUMENT/entry", "\"Glo:DOKUMENT\""},
        {"DOKUMENT/version", "26"},
        {"DOKUMENT/fields/0/name", "\"DOK:Id\""},
        {"DOKUMENT/fields/0/type", "\"ulong\""},
        {"DOKUMENT/fields/DOK:POPUSTZNESEK/digits", "9"},
        {"DOKUMENT/fields/DOK:POPUSTZNESEK/places", "2"},
        {"DOKUMENT/fields/DOK:POPUSTZNESEK/size", "5"},
        {"DOKUMENT/keys/DOK:PARTNERKLJUC/components/5/field", "\"DOK:DATUMDOKUMENTA\""},
        {"DOKUMENT/keys/DOK:PARTNERKLJUC/components/5/ascending", "false"},
        {"DOKUMENT/keys/DOK:PARTNERKLJUC/components/0/ascending", "true"},
        {"DOKUMENT/keys/DOK:PARTNERKLJUC/autoInc", "null"},
        {"DOKUMENT/keys/DOK:IDKLJUC/autoInc", "\"DOK:Id\""},
        {"DOKUMENT/keys/DOK:ENOTASTEVILKAKLJUC/primary", "true"},
        {"INVENTUR/keys/INVENTUR:STEVILKAKLJUC/description", "\" PO ŠTEVILKI\""},
        {"INVENDET/keys/INVENDET:STEVNAZIVKLJUC/noCase", "true"},
        {"APPINS/file", "\"..\\\\APPINS.TPS\""},
        {"APPINS/fields/APPINS:PRAVNAOBLIKA/type", "\"cstring\""},
        {"INVASCI/version", "null"},
        {"SFDRZAVE/prefix", "\"SFDrz\""},
        {"SFDRZAVE/fields/1/name", "\"SFDrz:NazivDrzave\""},
        {"SFPARTFIN/fields/SFPARTFIN:Opombe/type", "\"memo\""},
        {"SFPARTFIN/fields/SFPARTFIN:Opombe/offset", "null"},
        {"ZALOGA/fields/ZALOGA:ZALOGAMESECA/dim", "15"},
        {"ARTIKLI/fields/ARTIKLI:Naziv/type", "\"group\""},
        {"ARTIKLI/fields/ARTIKLI:Naziv/size", "60"},
        {"ARTIKLI/fields/ARTIKLI:Naziv/fields", "2"},
        {"ARTIKLI/fields/ARTIKLI:EAN/offset", "60"},
        {"POPISINV/fields/POPISINV:DATUMPOPISA/type", "\"date\""},
    });
}

TEST_F(DictionaryJson, DescribesRulesDefaultsAndRelations) {
    expectAnswers({
        {"SFVRPROM/rules/SFVRPROM:VrstaProdaje/labels",
         "\"'  Prodaja na DROBNO','  Prodaja na DEBELO'\""},
        {"SFVRPROM/rules/SFVRPROM:VrstaProdaje/allowed", "[\"M\", \"V\"]"},
        {"SFVRPROM/rules/SFVRPROM:VrstaProdaje/default", "\"M\""},
        {"SFVRPROM/rules/SFVRPROM:OZNAKADOKUMENTA/default", "null"},
        {"ARTIKLI/rules/ARTIKLI:DAVEK/default", "\"1\""},
        {"ARTIKLI/rules/ARTIKLI:DAVEK/allowed", "null"},
        {"DOKUMENT/rules/DOK:LETONALOGA/default", "\"<current year>\""},
        {"INVENDET/relations/0/parent", "\"INVENTUR\""},
        {"INVENDET/relations/0/childKey", "\"STEVSIFRAKLJUC\""},
        {"INVENDET/relations/0/fields/0/child", "\"INVENDET:StevInventure\""},
        {"INVENDET/relations/0/updateMode", "\"RelCascade\""},
        {"INVENDET/relations/0/deleteMode", "\"RelCascade\""},
    });
}

TEST(DictionaryCommand, RefusesAnythingButJson) {
    const std::string command = std::string("'") + DV_EXECUTABLE + "' dictionary >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace dv
