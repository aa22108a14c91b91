#pragma once
// Icons and images by resource name ("boxwright.ico", "tweed.png"). The program's own art
// is compiled in; any other name is read as a file. Formats are recognised by content, so
// an ".ico" name may hold PNG data.
#include <QIcon>
#include <QImage>
#include <string_view>

namespace qtscreen {

// A null image when the name is neither built in nor a readable image file.
QImage ArtImage(std::string_view name);
QIcon ArtIcon(std::string_view name);

}  // namespace qtscreen
