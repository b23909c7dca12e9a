#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/BuiltInMessages.h"
#include "framework/ErrorMessageBlock.h"

namespace dv {
namespace {

const MessageEntry* find(const std::vector<MessageEntry>& entries, std::uint16_t id) {
    auto it = std::find_if(entries.begin(), entries.end(),
                           [id](const MessageEntry& entry) { return entry.id == id; });
    return it == entries.end() ? nullptr : &*it;
}

TEST(ErrorMessageBlock, RoundTripKeepsOrderAndRepeatedIds) {
    std::vector<MessageEntry> entries{{300, MsgNotify, " OPOZORILO", "Zaloga je| negativna", {}},
                                      {0xABCD, MsgAsk, std::string(255, 't'), "", {}},
                                      {300, MsgFatal, "", std::string(255, 'x'), {}}};
    std::string block = encodeMessageBlock(entries);
    EXPECT_EQ(block.substr(0, 4), std::string("\x03\x00\x2C\x01", 4));  // count 3, id 300
    std::vector<MessageEntry> decoded = decodeMessageBlock(block);
    ASSERT_EQ(decoded.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(decoded[i].id, entries[i].id);
        EXPECT_EQ(decoded[i].level, entries[i].level);
        EXPECT_EQ(decoded[i].title, entries[i].title);
        EXPECT_EQ(decoded[i].text, entries[i].text);
        EXPECT_EQ(decoded[i].category, "");
    }
}

TEST(ErrorMessageBlock, MalformedBlocksAreRefused) {
    std::string block =
        encodeMessageBlock(std::vector<MessageEntry>{{1, MsgNotify, "Title", "Text", {}}});
    for (std::size_t length = 0; length < block.size(); ++length)
        EXPECT_THROW(decodeMessageBlock(block.substr(0, length)), MalformedMessageBlock) << length;
    EXPECT_THROW(decodeMessageBlock(block + "!"), MalformedMessageBlock);
    EXPECT_TRUE(decodeMessageBlock(std::string("\0\0", 2)).empty());
    std::vector<MessageEntry> tooLong{{1, MsgNotify, "T", std::string(256, 'x'), {}}};
    EXPECT_THROW(encodeMessageBlock(tooLong), MalformedMessageBlock);
}

TEST(BuiltInMessages, IdsLevelsAndQuotedTexts) {
    std::vector<MessageEntry> entries = decodeMessageBlock(builtInMessageBlock());
    ASSERT_EQ(entries.size(), kBuiltInMessageCount);
    std::set<std::uint16_t> ids;
    for (const auto& entry : entries) ids.insert(entry.id);
    EXPECT_EQ(ids.size(), entries.size());
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 44);
    EXPECT_EQ(ids.count(29), 0u);

    struct Expected {
        std::uint16_t id;
        std::uint8_t level;
        const char* title;
        const char* text;
    };
    const Expected expected[] = {
        {1, 5, "Record Retrieval Error",
         "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to "
         "previous window."},
        {7, 5, "Record Was Not Updated",
         "This record was changed by another station. Those changes will now be displayed. Use "
         "the Ditto Button or Ctrl+' to recall your changes."},
        {13, 5, "Duplicate Key Error",
         "Adding this record creates a duplicate entry for the key: %Message "},
        {23, 3, "File Access Error", "File (%File) could not be opened.  Error: %ErrorText."},
        {32, 1, "Auto Increment Error",
         "Attempts to automatically number this record have failed.  Error: %ErrorText. Try "
         "Again?"},
        {39, 2, "File Usage Error", "Attempt to use file (%File) before it was opened"},
        {41, 5, "Unsupported QBE Column",
         "The saved QBE column, %Field is not supported. It will be dropped from the query."},
        {44, 5, "Winsock Error", "%Message "},
    };
    for (const Expected& e : expected) {
        const MessageEntry* entry = find(entries, e.id);
        ASSERT_NE(entry, nullptr) << e.id;
        EXPECT_EQ(levelNumber(entry->level), e.level) << e.id;
        EXPECT_EQ(entry->title, e.title) << e.id;
        EXPECT_EQ(entry->text, e.text) << e.id;
    }
}

}  // namespace
}  // namespace dv
