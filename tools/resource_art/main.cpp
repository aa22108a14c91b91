// Draws the program's icons and wallpaper into the given folder, under their resource names.
// The icons are PNG images kept under the ".ico" names the windows ask for.
#include <QDir>
#include <QImage>
#include <cstdio>
#include <functional>

#include "art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  struct Drawing {
    const char* name;
    std::function<QImage()> draw;
  };
  const Drawing drawings[] = {
      {"boxwright.ico", [] { return art::CabinetIcon(64); }},
      {"refresh.ico", [] { return art::RefreshIcon(48); }},
      {"close.ico", [] { return art::CloseIcon(48); }},
      {"about.ico", [] { return art::AboutIcon(48); }},
      {"ok.ico", [] { return art::OkIcon(48); }},
      {"WAOk.ico", [] { return art::BadgeOkIcon(48); }},
      {"tweed.png", [] { return art::TweedTile(); }},
  };
  for (const Drawing& d : drawings) {
    if (!d.draw().save(out.filePath(QString::fromLatin1(d.name)), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", d.name);
      return 1;
    }
  }
  return 0;
}
