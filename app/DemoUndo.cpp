#include "app/DemoUndo.h"

namespace dv {

void DemoUndo::created(std::filesystem::path path) {
    created_.push_back(std::move(path));
}

FileResult DemoUndo::rememberSettingsFile(const std::filesystem::path& file) {
    std::error_code error;
    Remembered remembered{file, std::filesystem::exists(file, error), IniFile()};
    if (error) return FileResult::failure(file.string() + ": " + error.message());
    if (remembered.existed) {
        if (FileResult loaded = remembered.text.load(file); !loaded.ok()) return loaded;
    }
    remembered_.push_back(std::move(remembered));
    return FileResult::success();
}

std::string DemoUndo::undo() {
    std::string problems;
    auto note = [&problems](const std::filesystem::path& path, const std::string& why) {
        problems += " Ni mogoče vrniti v prejšnje stanje: " + path.string() + " (" + why + ").";
    };
    for (auto it = remembered_.rbegin(); it != remembered_.rend(); ++it) {
        if (it->existed) {
            if (FileResult saved = it->text.save(it->file); !saved.ok())
                note(it->file, saved.error);
        } else {
            std::error_code error;
            std::filesystem::remove(it->file, error);
            if (error) note(it->file, error.message());
        }
    }
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        std::error_code error;
        std::filesystem::remove(*it, error);
        if (error) note(*it, error.message());
    }
    remembered_.clear();
    created_.clear();
    return problems;
}

}  // namespace dv
