#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "runtime/Date.h"
#include "runtime/TimeOfDay.h"

namespace dv {

// The folder that receives the archived capture files, from the setting "Pot arhiva ASCII"
// (GLO:POTARHIVZAJEMAASCII, written the Windows way or the host's): a folder without a trailing
// separator gets one, so that the copy lies inside it and not beside it; a blank setting is the
// working folder (an empty path).
std::filesystem::path captureArchiveFolder(std::string_view setting);

// "ARHINV_" with the date as YYMMDD, "_" and the time as HHMM: "ARHINV_190116_0905".
std::string captureArchiveName(DayNumber day, TimeValue time);

// Whether a file can be made in `folder` (a file is made there and removed again); false with
// the reason in `error` when not.
bool canWriteInto(const std::filesystem::path& folder, std::string& error);

// The whole content of a file; false with the reason in `error`.
bool readWholeFile(const std::filesystem::path& file, std::string& content, std::string& error);

// Writes `content` as a new file `name` in `folder`, never over another file: when that name is
// taken, the copy is named with "_2", "_3", ... after it. The file is on the disk (flushed, and
// its folder entry too) when this returns true, with its path in `written`. False with the
// reason in `error`, and no file left behind.
bool writeArchiveCopy(const std::filesystem::path& folder, const std::string& name,
                      const std::string& content, std::filesystem::path& written,
                      std::string& error);

// Removes the file and flushes its folder entry; false with the reason in `error`.
bool removeFileDurably(const std::filesystem::path& file, std::string& error);

}  // namespace dv
