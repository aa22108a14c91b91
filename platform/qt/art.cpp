#include "platform/qt/art.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
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
  // PNG is read by Qt itself. Asked to find the reader, even for a named format, Qt loads
  // every image plugin, and the libraries behind them, to ask each whether it reads the data;
  // the art is PNG whatever its name says, so it is told apart by its signature and read
  // with the format fixed.
  static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
  QByteArray data = ReadArt(name);
  if (!data.startsWith(QByteArrayView(kPngSignature, 8))) return QImage::fromData(data);
  QBuffer buffer(&data);
  QImageReader reader(&buffer, "png");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

QIcon ArtIcon(std::string_view name) {
  const QImage image = ArtImage(name);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace qtscreen
