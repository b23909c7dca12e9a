#pragma once

#include <string_view>

namespace dv {

// The title and filter of the file chooser of the capture file.
inline constexpr std::string_view kCaptureFileChooserTitle =
    " Izberite datoteko za uvoz s terminala";
inline constexpr std::string_view kCaptureFileFilter = "Datoteke s terminala (*.txt)|*.txt";

// The terminal parameters, window " PARAMETRI ZA ZAJEM INVENTURE S TERMINALOM": the folder and
// name of the barcode terminal's capture file (GLO:MAPADATOTEKETERMINALA, chosen with the file
// chooser "..." or typed) and the EAN code length of the terminal (GLO:DOLZINAEAN). The file
// chosen becomes the file of the capture table INVASCI at once. "V redu" writes both entries of
// section "TERMINAL" into the settings file; "Prekliči" writes nothing, and what was typed stays
// in the variables until the program ends.
//
// Started from the menu on a thread of its own; returns RespCompleted when confirmed.
int ParametriTerminal();

// Makes the capture file named by GLO:MAPADATOTEKETERMINALA the file of INVASCI. A blank name
// leaves INVASCI's file as it is: there would be no file to read.
void useTerminalCaptureFile();

}  // namespace dv
