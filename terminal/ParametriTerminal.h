#pragma once

#include <string_view>

namespace dv {

// The title and filter of the file chooser of the capture file.
inline constexpr std::string_view kCaptureFileChooserTitle =
    " Izberite datoteko za uvoz s terminala";
inline constexpr std::string_view kCaptureFileFilter = "Datoteke s terminala (*.txt)|*.txt";

// Makes the capture file named by GLO:MAPADATOTEKETERMINALA the file of INVASCI. A blank name
// leaves INVASCI's file as it is: there would be no file to read.
void useTerminalCaptureFile();

}  // namespace dv
