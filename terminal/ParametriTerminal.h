#pragma once

#include <string_view>

namespace dv {

// The title and filter of the file chooser of the capture file.
inline constexpr std::string_view kCaptureFileChooserTitle =
    " Izberite datoteko za uvoz s terminala";
inline constexpr std::string_view kCaptureFileFilter = "Datoteke s terminala (*.txt)|*.txt";

// At start-up: makes the capture file named by GLO:MAPADATOTEKETERMINALA the file of INVASCI. A
// blank setting leaves INVASCI's built-in file name.
void useTerminalCaptureFile();

}  // namespace dv
