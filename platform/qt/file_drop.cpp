#include "platform/qt/file_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <string>
#include <vector>

#include "platform/qt/wait_loop.h"
#include "platform/rt/user_action.h"
#include "platform/win/system/debug_output.h"

namespace qtscreen {

namespace {
// The local paths among a drag's URLs, in order; remote URLs are left out.
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths.push_back(url.toLocalFile().toStdString());
  }
  return paths;
}
}  // namespace

int FileDropField(const rt::Window& window, int field) {
  for (int guard = 0; window.IsField(field) && guard <= window.Fields(); ++guard) {
    if (window.Control(field).dropId.find("~FILE") != std::string::npos) return field;
    field = window.Control(field).parent;
  }
  return 0;
}

FileDropFilter::FileDropFilter(rt::Window& window, int field, QObject* parent)
    : QObject(parent), window_(window), field_(field) {}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (LocalFiles(drag->mimeData()).empty()) {
        drag->ignore();
      } else {
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::vector<std::string> paths = LocalFiles(drop->mimeData());
      if (paths.empty()) {
        drop->ignore();
        return true;
      }
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      const std::string refused = rt::user::DropFiles(window_, field_, paths);
      WaitLoop::Wake();
      if (!refused.empty()) OutputDebugStringA(("[screen] " + refused + "\n").c_str());
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace qtscreen
