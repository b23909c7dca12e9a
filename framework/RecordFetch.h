#pragma once

namespace dv {

class FileManager;

// Reads the record whose values of key `key` stand in the table's buffer, as a lookup does.
// False, with the buffer cleared, when there is none. A read that failed for another reason
// than a missing record (the table cannot be read) is reported to the user as well.
bool fetchRecord(FileManager& file, int key);

}  // namespace dv
