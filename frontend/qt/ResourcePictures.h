#pragma once

#include <QIcon>
#include <QPixmap>
#include <optional>
#include <string_view>

namespace dv {

// The picture of the embedded resource file of that name, in whichever folder of resources/ it
// lies (letter case ignored: the layouts name files the Windows way); nothing when the program
// carries no such file or it is no picture Qt can read. Of an icon file holding several sizes it
// is the first, the largest.
std::optional<QPixmap> resourcePicture(std::string_view fileName);

// The same file as an icon with every size it holds, so that a toolbar or title bar shows the
// size drawn for it rather than a scaled one; a null icon when there is no such picture.
QIcon resourceIcon(std::string_view fileName);

}  // namespace dv
