#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace dv {

// Levels of a message; raising a message acts by its level and returns the level result.
enum class MessageLevel : std::uint8_t {
    Quiet = 0,     // nothing shown, logged or recorded; result 0
    Ask = 1,       // Yes/No question; result 0 for Yes, 4 for No
    Program = 2,   // a programming error, handled as Fatal
    Fatal = 3,     // shown with OK, then the program ends
    Declined = 4,  // handled as Ask
    Notify = 5,    // notice with OK; result 5
};
inline constexpr MessageLevel MsgQuiet = MessageLevel::Quiet;
inline constexpr MessageLevel MsgAsk = MessageLevel::Ask;
inline constexpr MessageLevel MsgProgram = MessageLevel::Program;
inline constexpr MessageLevel MsgFatal = MessageLevel::Fatal;
inline constexpr MessageLevel MsgDeclined = MessageLevel::Declined;
inline constexpr MessageLevel MsgNotify = MessageLevel::Notify;

// The number of a level, as message blocks, logs and the history's thresholds keep it.
constexpr int levelNumber(MessageLevel level) {
    return static_cast<int>(level);
}

// The one table of the messages that table operations, forms, lists and batches raise by id:
// name, id, level, title and text. Code names a message by its name (message::RecordAdded);
// the program's message reporter starts with these texts. Trailing blanks belong to the texts.
// clang-format off
#define DV_BUILT_IN_MESSAGES(X) \
    X(RecordRetrievalError, 1, MsgNotify, "Record Retrieval Error", \
      "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to " \
      "previous window.") \
    X(AccessDenied, 2, MsgNotify, "Access Denied", \
      "Could not get write access to %File so trying read-only.") \
    X(RecordAdded, 3, MsgAsk, "Record Added", \
      "This record has been added to the file. Do you want to add another record?") \
    X(RecordInsertError, 4, MsgNotify, "Record Insert Error", \
      "An error was experienced during the creation of a record. Error: %ErrorText.") \
    X(AddNewRecord, 5, MsgNotify, "Add New Record?", \
      "Record match not found, do you wish to add a new one?") \
    X(RecordWasNotUpdated, 6, MsgNotify, "Record Was Not Updated", \
      "This record was changed by another station.") \
    X(RecordWasNotUpdatedOnForm, 7, MsgNotify, "Record Was Not Updated", \
      "This record was changed by another station. Those changes will now be displayed. Use the " \
      "Ditto Button or Ctrl+' to recall your changes.") \
    X(ChangesWillBeLost, 8, MsgAsk, "Changes will be lost!", \
      "Are you sure you want to cancel?") \
    X(ConfirmDelete, 9, MsgAsk, "Confirm Delete", \
      "Are you sure you want to delete the highlighted record?") \
    X(FileCreationError, 10, MsgFatal, "File Creation Error", \
      "Error: (%ErrorText) creating %File.") \
    X(RecordWasNotDeleted, 11, MsgNotify, "Record was not deleted", \
      "An error (%ErrorText) was experienced when deleting a record from the %File file.") \
    X(InvalidDeleteRequest, 12, MsgNotify, "Invalid Request", \
      "This form cannot be used to delete a record") \
    X(DuplicateKeyError, 13, MsgNotify, "Duplicate Key Error", \
      "Adding this record creates a duplicate entry for the key: %Message ") \
    X(FieldContentsError, 14, MsgNotify, "Field contents error", \
      "The value of %Field must be found in the %Message file.") \
    X(ValueError, 15, MsgNotify, "Value Error", \
      "The value of %Field must be in the list : %Message.") \
    X(RangeError, 16, MsgNotify, "Range Error", \
      "The value of %Field must be in range %Message.") \
    X(RangeErrorLower, 17, MsgNotify, "Range Error", \
      "The value of %Field must be lower than %Message.") \
    X(RangeErrorHigher, 18, MsgNotify, "Range Error", \
      "The value of %Field must be higher than %Message.") \
    X(FileLoadError, 19, MsgNotify, "File Load Error", \
      "%File File Load Error.  Error: %ErrorText.") \
    X(InvalidInsertRequest, 20, MsgNotify, "Invalid Request", \
      "This form cannot be used to insert a record") \
    X(TransactionCancelled, 21, MsgNotify, "Transaction cancelled", \
      "Error: (%ErrorText) attempting to frame the transaction on %File.") \
    X(NoRecords, 22, MsgNotify, "No Records", \
      "There are no records available to process.") \
    X(FileAccessError, 23, MsgFatal, "File Access Error", \
      "File (%File) could not be opened.  Error: %ErrorText.") \
    X(ProcedureNotDefined, 24, MsgNotify, "Procedure not defined", \
      "The Procedure %Message has not been defined.") \
    X(RecordWasNotChanged, 25, MsgNotify, "Record was not updated", \
      "An error (%ErrorText) was experienced when making changes to the %File file.") \
    X(KeyWasNotBuilt, 26, MsgFatal, "Key was not built", \
      "Error: (%ErrorText) repairing key for %File.") \
    X(InvalidKey, 27, MsgNotify, "Invalid Key", \
      "%File key file is invalid. Key must be rebuilt.") \
    X(RecordNotRead, 28, MsgNotify, "Record not read", \
      "A record held by another station was encountered reading from the %File file.") \
    X(ReferentialIntegrityDeleteError, 30, MsgNotify, "Referential Integrity Delete Error", \
      "This record is referenced from the file %File. This record cannot be deleted while these " \
      "references exist.") \
    X(ReferentialIntegrityUpdateError, 31, MsgNotify, "Referential Integrity Update Error", \
      "This record is referenced from the file %File. Linking field(s) have been restricted from " \
      "change and have been reset to original values.") \
    X(AutoIncrementError, 32, MsgAsk, "Auto Increment Error", \
      "Attempts to automatically number this record have failed.  Error: %ErrorText. Try Again?") \
    X(RecordDeleteError, 33, MsgAsk, "Record Delete Error", \
      "An error was experienced deleting this record. Do you want to try to delete it again?") \
    X(RecordUpdateError, 34, MsgAsk, "Record Update Error", \
      "An error was experienced changing this record. Do you want to try to save again?") \
    X(SaveRecord, 35, MsgAsk, "Save Record", \
      "Do you want to save the changes to this record?") \
    X(BeginningOfFileError, 36, MsgAsk, "Beginning of File Error", \
      "The beginning of the file was encountered. Do you want to start again from the end of the " \
      "file?") \
    X(EndOfFileError, 37, MsgAsk, "End of File Error", \
      "The end of the file was encountered. Do you want to start again from the beginning?") \
    X(InvalidUpdateRequest, 38, MsgNotify, "Invalid Request", \
      "This form cannot be used to update a record") \
    X(FileUsageError, 39, MsgProgram, "File Usage Error", \
      "Attempt to use file (%File) before it was opened") \
    X(ViewOpenError, 40, MsgNotify, "View Open Error", \
      "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits ignored.") \
    X(UnsupportedQbeColumn, 41, MsgNotify, "Unsupported QBE Column", \
      "The saved QBE column, %Field is not supported. It will be dropped from the query.") \
    X(SmtpError, 42, MsgNotify, "SMTP Error", \
      "The following SMTP Error occurred: %Message ") \
    X(NntpError, 43, MsgNotify, "NNTP Error", \
      "%Message ") \
    X(WinsockError, 44, MsgNotify, "Winsock Error", \
      "%Message ")
// clang-format on

namespace message {
#define DV_MESSAGE_ID(name, id, ...) inline constexpr std::uint16_t name = id;
DV_BUILT_IN_MESSAGES(DV_MESSAGE_ID)
#undef DV_MESSAGE_ID
}  // namespace message

struct BuiltInMessage {
    std::uint16_t id;
    MessageLevel level;
    std::string_view title;
    std::string_view text;
};

// Every message of the table, in the order of their ids.
std::span<const BuiltInMessage> builtInMessages();

}  // namespace dv
