#include "data/FieldValidation.h"
#include "storage/FileManager.h"
#include "storage/FileManagerState.h"

namespace dv {

Level FileManager::CheckField(int field) {
    return CheckFieldRule(field, true);
}
Level FileManager::CheckFieldSilently(int field) {
    return CheckFieldRule(field, false);
}

Level FileManager::CheckFieldRule(int field, bool report) {
    if (field < 1 || field > static_cast<int>(table_.fields.size())) return kLevelBenign;
    const auto failure = dv::CheckField(table_, buffer(), field - 1);
    if (!failure) return kLevelBenign;
    ThreadInfo& info = thread();
    errors().quoteField(failure->fieldText);
    note(info, static_cast<std::uint16_t>(failure->message), failure->fieldText,
         failure->messageText, true);
    if (report) raiseNoted(info);
    return kLevelNotify;
}

Level FileManager::CheckFields(int first, int last, int& failing, bool report) {
    failing = 0;
    for (int field = std::max(first, 1); field <= last; ++field) {
        if (const Level result = CheckFieldRule(field, report); result != kLevelBenign) {
            failing = field;
            return result;
        }
    }
    return kLevelBenign;
}

int FileManager::CheckRecord(int firstField, bool report) {
    int failing = 0;
    CheckFields(firstField, static_cast<int>(table_.fields.size()), failing, report);
    return failing;
}

}  // namespace dv
