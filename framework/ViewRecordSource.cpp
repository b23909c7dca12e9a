#include "framework/ViewRecordSource.h"

namespace dv {

ReadResult ViewRecordSource::next() {
    switch (view_.Next()) {
        case ViewRead::Record:
            return ReadResult::Record;
        case ViewRead::End:
            return ReadResult::End;
        case ViewRead::Failed:
            break;
    }
    return ReadResult::Failed;
}

}  // namespace dv
