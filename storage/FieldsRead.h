#pragma once

#include <initializer_list>
#include <string_view>

namespace dv {

class FileManager;

// While it lives, this thread's reads of a table fill only the named fields of its buffer (and
// those of its keys and rules); the other fields read as cleared, and a change of a record writes
// only the fields that changed, so that the stored values of the others stay as they are. For a
// batch that reads many records and uses a few fields of each: a stock row has a hundred columns.
// The table must be open physically (FileManager::UseFile); at the end every field is read again.
class FieldsRead {
  public:
    // Throws std::invalid_argument for a name that is not a field of the table.
    FieldsRead(FileManager& file, std::initializer_list<std::string_view> fields);
    ~FieldsRead();
    FieldsRead(const FieldsRead&) = delete;
    FieldsRead& operator=(const FieldsRead&) = delete;

  private:
    FileManager& file_;
};

}  // namespace dv
