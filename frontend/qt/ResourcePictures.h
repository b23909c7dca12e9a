#pragma once

#include <QPixmap>
#include <optional>
#include <string_view>

namespace dv {

// The picture of the embedded resource file of that name, in whichever folder of resources/ it
// lies (letter case ignored: the layouts name files the Windows way); nothing when the program
// carries no such file or it is no picture Qt can read.
std::optional<QPixmap> resourcePicture(std::string_view fileName);

}  // namespace dv
