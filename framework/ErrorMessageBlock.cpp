#include "framework/ErrorMessageBlock.h"

#include <cstdint>

namespace dv {
namespace {

class BlockReader {
  public:
    explicit BlockReader(std::string_view block) : block_(block) {}

    std::uint8_t byte() {
        need(1);
        return static_cast<std::uint8_t>(block_[position_++]);
    }

    std::uint16_t word() {
        std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }

    std::string counted() {
        std::size_t length = byte();
        need(length);
        std::string text(block_.substr(position_, length));
        position_ += length;
        return text;
    }

    bool atEnd() const { return position_ == block_.size(); }

  private:
    void need(std::size_t count) const {
        if (block_.size() - position_ < count)
            throw MalformedMessageBlock("message block is cut short at byte " +
                                        std::to_string(position_));
    }

    std::string_view block_;
    std::size_t position_ = 0;
};

void putWord(std::string& block, std::uint16_t value) {
    block += static_cast<char>(value & 0xFF);
    block += static_cast<char>(value >> 8);
}

void putCounted(std::string& block, const std::string& text, std::uint16_t id) {
    if (text.size() > 255)
        throw MalformedMessageBlock("message " + std::to_string(id) +
                                    " has a title or text longer than 255 bytes");
    block += static_cast<char>(text.size());
    block += text;
}

}  // namespace

std::vector<MessageEntry> decodeMessageBlock(std::string_view block) {
    BlockReader reader(block);
    std::size_t count = reader.word();
    std::vector<MessageEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        MessageEntry entry;
        entry.id = reader.word();
        entry.level = static_cast<MessageLevel>(reader.byte());
        entry.title = reader.counted();
        entry.text = reader.counted();
        entries.push_back(std::move(entry));
    }
    if (!reader.atEnd()) throw MalformedMessageBlock("message block has bytes after its messages");
    return entries;
}

std::string encodeMessageBlock(std::span<const MessageEntry> entries) {
    if (entries.size() > 65535) throw MalformedMessageBlock("more than 65535 messages in a block");
    std::string block;
    putWord(block, static_cast<std::uint16_t>(entries.size()));
    for (const MessageEntry& entry : entries) {
        putWord(block, entry.id);
        block += static_cast<char>(levelNumber(entry.level));
        putCounted(block, entry.title, entry.id);
        putCounted(block, entry.text, entry.id);
    }
    return block;
}

}  // namespace dv
