// Draws the program's icons and wallpaper into the given folder, under their resource names.
// The icons are PNG images kept under the ".ico" names the windows ask for. The program's
// icon is drawn again at the sizes of the desktop's icon theme, in the theme's layout
// ("hicolor/48x48/apps/boxwright.png"), for installing, at each size the command line names.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "art.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output folder> [icon theme sizes...]\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  struct Drawing {
    std::string name;
    std::function<QImage()> draw;
  };
  std::vector<Drawing> drawings = {
      {"boxwright.ico", [] { return art::CabinetIcon(64); }},
      {"refresh.ico", [] { return art::RefreshIcon(48); }},
      {"close.ico", [] { return art::CloseIcon(48); }},
      {"about.ico", [] { return art::AboutIcon(48); }},
      {"ok.ico", [] { return art::OkIcon(48); }},
      {"WAOk.ico", [] { return art::BadgeOkIcon(48); }},
      {"tweed.png", [] { return art::TweedTile(); }},
  };
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 1 || size > 1024) {
      std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
      return 2;
    }
    const std::string side = std::to_string(size);
    drawings.push_back({"hicolor/" + side + "x" + side + "/apps/boxwright.png", [size] { return art::CabinetIcon(size); }});
  }
  for (const Drawing& d : drawings) {
    const QString path = out.filePath(QString::fromStdString(d.name));
    if (!QDir().mkpath(QFileInfo(path).path()) || !d.draw().save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", d.name.c_str());
      return 1;
    }
  }
  return 0;
}
