#include "terminal/MarkedArchivePrint.h"

namespace dv {
namespace {

// Only one procedure thread runs at a time, so the handle needs no lock.
const MarkedArchivePrint* running = nullptr;

}  // namespace

const MarkedArchivePrint* markedArchivePrint() {
    return running;
}

MarkedArchivePrintScope::MarkedArchivePrintScope(const MarkedArchivePrint& print) {
    running = &print;
}

MarkedArchivePrintScope::~MarkedArchivePrintScope() {
    running = nullptr;
}

}  // namespace dv
