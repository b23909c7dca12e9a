#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "runtime/Decimal.h"
#include "stocktake/StocktakePosting.h"

namespace dv {

class FileManager;

// Whether a capture line is posted at all: its code begins with a digit. A header line, an
// empty line or a code beginning with a letter or a blank is passed over.
bool isCaptureCode(std::string_view code);

// The quantity of a capture line read as a number, with a decimal comma or point ("12,5",
// "12.5", "-3", "1.234,5"); nothing when it is no number or too large for a count (9 digits,
// 3 places).
std::optional<Decimal> captureQuantity(std::string_view text);

// What importing one capture line gave.
enum class CaptureLine : std::uint8_t {
    Posted,   // archived, and counted into the template when its item is known
    Failed,   // a write failed; failureCaption() and failureText() say so in the user's words
};

// The lines of a capture file imported into one stocktake, line by line: the line is the one in
// the INVASCI buffer, its quantity read by captureQuantity.
//
// The item is sought in ARTIKLI by the first 13 characters of the code, then by the first 12,
// then by the 12 from the second on; the item's own code is then the matched code, else the
// first 13 characters of the scanned one. A template line (INVENDET) of the matched code gets
// the quantity: added to its count when a count was entered already, else the count becomes the
// quantity and is marked entered. A known item without a template line gets a new line with
// book quantity 0. Every line is archived in INVTPS with its posting counter: 1 more than the
// last archived line of the stocktake and code when the template line existed, else 0; its
// record number is 1 more than the highest. Quantities are kept to 3 places in the template and
// 2 in the archive, rounded half away from zero.
//
// The tables must be open on the calling thread, and the caller keeps the writes together in
// one transaction (see BatchTransaction), begun before Start, and walks the capture file. Inside
// the transaction nobody else writes, so Start reads once what the archive holds (the highest
// record number, the last counter of each code of the stocktake) and the import numbers and
// counts on from there instead of asking the table for every line.
class CaptureImport {
  public:
    CaptureImport(FileManager& items, FileManager& lines, FileManager& archive, StocktakeKey key);

    // Reads the highest record number and the stocktake's last counters; false when the archive
    // cannot be read (reported).
    bool Start();
    CaptureLine importLine(const Decimal& quantity);

    const std::string& failureCaption() const { return caption_; }
    const std::string& failureText() const { return failure_; }
    std::int64_t posted() const { return posted_; }

  private:
    bool findItem();
    bool itemExists(std::string_view code);
    bool fetchLine();
    bool readCounters();
    bool readFailed();
    std::int32_t lastCounter() const;
    bool archive(const Decimal& quantity, std::int32_t counter, bool found);
    bool addToLine(const Decimal& quantity);
    bool addLine(const Decimal& quantity);
    CaptureLine fail(std::string_view message);

    FileManager& items_;
    FileManager& lines_;
    FileManager& archive_;
    const StocktakeKey key_;
    const int itemKey_;
    const int archiveKey_;
    std::string matched_;  // the matched code, code page bytes without trailing blanks
    // The counter of the line archived last for each code of the stocktake, and the highest
    // record number: what the table holds, kept up to date by every line archived.
    std::unordered_map<std::string, std::int32_t> counters_;
    std::int32_t lastRecord_ = 0;
    std::string caption_;
    std::string failure_;
    std::int64_t posted_ = 0;
};

}  // namespace dv
