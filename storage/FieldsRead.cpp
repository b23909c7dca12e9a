#include "storage/FieldsRead.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "storage/FileManager.h"

namespace dv {

FieldsRead::FieldsRead(FileManager& file, std::initializer_list<std::string_view> fields)
    : file_(file) {
    std::vector<int> numbers;
    for (const std::string_view name : fields) {
        const int field = file.table().findField(name);
        if (field < 0)
            throw std::invalid_argument("no field " + std::string(name) + " in " +
                                        std::string(file.table().name));
        numbers.push_back(field);
    }
    if (TableDriver* driver = file.driver()) driver->readFields(numbers);
}

FieldsRead::~FieldsRead() {
    if (TableDriver* driver = file_.driver()) driver->readFields({});
}

}  // namespace dv
