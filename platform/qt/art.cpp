#include "platform/qt/art.h"

#include <QFile>
#include <QPixmap>

namespace qtscreen {
namespace {

QByteArray ReadArt(std::string_view name) {
  const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  for (const QString& path : {QStringLiteral(":/art/") + text, text}) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
  }
  return {};
}

}  // namespace

QImage ArtImage(std::string_view name) {
  if (name.empty()) return {};
  return QImage::fromData(ReadArt(name));
}

QIcon ArtIcon(std::string_view name) {
  const QImage image = ArtImage(name);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace qtscreen
