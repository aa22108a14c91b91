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
  // PNG is read by Qt itself; for anything else Qt loads every image plugin, and the
  // libraries behind them, to ask which one reads the data. The art is PNG whatever its
  // name says, so it is told apart by its signature.
  static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
  const QByteArray data = ReadArt(name);
  const bool png = data.startsWith(QByteArrayView(kPngSignature, 8));
  return QImage::fromData(data, png ? "PNG" : nullptr);
}

QIcon ArtIcon(std::string_view name) {
  const QImage image = ArtImage(name);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace qtscreen
