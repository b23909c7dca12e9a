#pragma once

#include <cstdint>

namespace dv::message {

// The ids of the reporter's messages that table access raises, named by their titles.
inline constexpr std::uint16_t RecordRetrievalError = 1;
inline constexpr std::uint16_t AccessDenied = 2;
inline constexpr std::uint16_t RecordInsertError = 4;
inline constexpr std::uint16_t RecordWasNotUpdated = 6;
inline constexpr std::uint16_t RecordWasNotUpdatedOnForm = 7;
inline constexpr std::uint16_t ConfirmDelete = 9;
inline constexpr std::uint16_t FileCreationError = 10;
inline constexpr std::uint16_t RecordWasNotDeleted = 11;
inline constexpr std::uint16_t DuplicateKeyError = 13;
inline constexpr std::uint16_t TransactionCancelled = 21;
inline constexpr std::uint16_t FileAccessError = 23;
inline constexpr std::uint16_t RecordWasNotChanged = 25;  // "Record was not updated"
inline constexpr std::uint16_t KeyWasNotBuilt = 26;
inline constexpr std::uint16_t InvalidKey = 27;
inline constexpr std::uint16_t RecordNotRead = 28;
inline constexpr std::uint16_t ReferentialIntegrityDeleteError = 30;
inline constexpr std::uint16_t ReferentialIntegrityUpdateError = 31;
inline constexpr std::uint16_t AutoIncrementError = 32;
inline constexpr std::uint16_t RecordDeleteError = 33;
inline constexpr std::uint16_t FileUsageError = 39;

}  // namespace dv::message
