#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "framework/ProcessSlicer.h"
#include "runtime/Request.h"

namespace dv {

class Window;

// Lets a caller watch the import: `watcher` is called after each capture line with the progress
// window and the number of lines done (a test presses Cancel so, as a user would); `clock` times
// the slices of the pass between the window's events.
struct CaptureImportHooks {
    std::function<void(Window& progress, std::int64_t done)> watcher;
    ProcessSlicer::Clock clock = ProcessSlicer::steadyClock();
};

// The import of the capture file (the file of INVASCI) into the selected stocktake
// (GLO:DIDEROVIV, GLO:ENOTAINV, GLO:VRSTAINV) in the progress window `procedure`, then the
// archive copy of the file in the folder GLO:POTARHIVZAJEMAASCII and the file removed.
//
// All or nothing: before anything is written, the stocktake must exist and be open, the
// archive folder must take a file, and when lines have a quantity that is no number the user
// sees them and chooses to correct the file first or to import the rest. The writes of the pass
// form one transaction; Cancel, a failed write, a file changed meanwhile or a killed program
// leave template, archive table and capture file as they were. Only after the commit is the
// copy written (flushed to the disk) and, once it is there, the capture file removed; a copy
// that cannot be written keeps the capture file, and the user is told. RespCompleted when the
// file was imported.
Response runCaptureImport(std::string_view procedure, const CaptureImportHooks& hooks = {});

}  // namespace dv
