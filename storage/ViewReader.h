#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "storage/KeysetCursor.h"
#include "storage/TableDriver.h"

namespace dv {

// What reading the next record of a view gave.
enum class ViewRead : std::uint8_t {
    Record,  // a record of the view is in the buffer
    End,     // no more records in that direction
    Failed,  // reading failed; the failure has been reported
};

// Where reading a view goes on from: a cursor's place (see KeysetPlace), for either reader.
using ViewPlace = KeysetPlace;

// Tells whether the record in the primary buffer belongs to the view (joined records read,
// the part of the filter the reader did not apply tested).
using ViewAcceptor = std::function<bool()>;

// Reads the records of one order of a view's primary table into its record buffer, one at a
// time in either direction from a place, skipping those the acceptor refuses.
class ViewReader {
  public:
    virtual ~ViewReader() = default;

    virtual void place(int key, const ViewPlace& place) = 0;
    virtual ViewRead step(bool forward) = 0;
    // The position of the record read last (row 0 when there is none), and its row alone.
    virtual const DriverPosition& position() const = 0;
    virtual std::int64_t row() const = 0;
    // Forgets records read ahead, so that the next read sees the table as it is now.
    virtual void flush() = 0;
    // How many records the caller wants next; a hint for reading ahead.
    virtual void setReadAhead(int rows) = 0;
    virtual void setQuickScan(bool on) = 0;
};

}  // namespace dv
