#include "framework/ProgramServices.h"

#include <stdexcept>
#include <utility>

namespace dv {
namespace {

ProgramServices installed;

}  // namespace

ProgramServices setProgramServices(ProgramServices services) {
    return std::exchange(installed, services);
}

ErrorReporter& programErrors() {
    if (installed.errors == nullptr) throw std::logic_error("the error reporter is not set up");
    return *installed.errors;
}

SettingsManager& programSettings() {
    if (installed.settings == nullptr) throw std::logic_error("the settings file is not set up");
    return *installed.settings;
}

}  // namespace dv
