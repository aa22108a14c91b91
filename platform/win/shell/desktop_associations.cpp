#include "platform/win/shell/desktop_associations.h"

#include <memory>

#include "platform/win/shell/gio_procs.h"
#include "platform/win/system/ascii_text.h"

namespace win {
namespace {

template <typename T>
struct GObjectDeleter {
  void operator()(T* object) const {
    if (object) Gio()->object_unref(object);
  }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct GFreeDeleter {
  void operator()(void* memory) const { Gio()->free(memory); }
};
using GText = std::unique_ptr<char, GFreeDeleter>;

std::optional<std::string> CommandOf(const GioProcs& gio, GAppInfo* app) {
  if (app == nullptr) return std::nullopt;
  const char* command = gio.app_info_get_commandline(app);
  if (command == nullptr || *command == '\0') return std::nullopt;
  return std::string(command);
}

OpenResult FromSpawnError(const GioProcs& gio, const GError* error) {
  if (error == nullptr || error->domain != gio.spawn_error_quark()) return OpenResult::NoHandler;
  switch (error->code) {
    case G_SPAWN_ERROR_NOENT:
      return OpenResult::NotFound;
    case G_SPAWN_ERROR_ACCES:
    case G_SPAWN_ERROR_PERM:
      return OpenResult::AccessDenied;
    case G_SPAWN_ERROR_NOMEM:
      return OpenResult::OutOfMemory;
    case G_SPAWN_ERROR_TOO_BIG:
      return OpenResult::TooLong;
    default:
      return OpenResult::NoHandler;
  }
}

// The content type GIO gives a file (its name and, for a regular file, its first bytes).
std::optional<std::string> ContentTypeOf(const GioProcs& gio, GFile* file) {
  GObjectPtr<GFileInfo> info(gio.file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
  if (!info) return std::nullopt;
  const char* type = gio.file_info_get_content_type(info.get());
  if (type == nullptr) return std::nullopt;
  return std::string(type);
}

std::optional<std::string> SchemeOf(const GioProcs& gio, const std::string& uri) {
  GText scheme(gio.uri_parse_scheme(uri.c_str()));
  if (!scheme) return std::nullopt;
  return win::Lower(scheme.get());
}

// The program for a URL: its scheme's handler, or for a file: URL its file type's.
GObjectPtr<GAppInfo> ProgramFor(const GioProcs& gio, const std::string& uri, const std::string& scheme) {
  if (scheme != "file") return GObjectPtr<GAppInfo>(gio.app_info_get_default_for_uri_scheme(scheme.c_str()));
  GObjectPtr<GFile> file(gio.file_new_for_uri(uri.c_str()));
  auto type = ContentTypeOf(gio, file.get());
  if (!type) return nullptr;
  return GObjectPtr<GAppInfo>(gio.app_info_get_default_for_type(type->c_str(), FALSE));
}

// A handler whose command has no place for a URL would be started without it: GIO drops
// what it cannot hand over and still reports a start.
bool TakesTarget(const GioProcs& gio, GAppInfo* app, bool localFile) {
  return gio.app_info_supports_uris(app) || (localFile && gio.app_info_supports_files(app));
}

// The MIME type of a file name extension (".pdf" or "pdf" gives "application/pdf"); none
// when the desktop does not know the extension.
std::optional<std::string> TypeOfExtension(std::string_view extension) {
  if (extension.starts_with('.')) extension.remove_prefix(1);
  if (extension.empty() || extension.find_first_of("/\\") != std::string_view::npos) return std::nullopt;
  const GioProcs* gio = Gio();
  if (gio == nullptr) return std::nullopt;
  std::string name = "x." + std::string(extension);
  gboolean uncertain = FALSE;
  GText type(gio->content_type_guess(name.c_str(), nullptr, 0, &uncertain));
  // A guess from the name alone is "uncertain" for types that have content rules (text/html);
  // it still names the type the desktop gives such files.
  if (!type || gio->content_type_is_unknown(type.get())) return std::nullopt;
  GText mime(gio->content_type_get_mime_type(type.get()));
  if (!mime) return std::nullopt;
  return std::string(mime.get());
}

// The command line (the Exec line) of the default program for a MIME type, or for a URL
// scheme ("mailto"); none when nothing is set up to open it.
std::optional<std::string> DefaultCommandForType(const std::string& mimeType) {
  const GioProcs* gio = Gio();
  if (mimeType.empty() || gio == nullptr) return std::nullopt;
  GText type(gio->content_type_from_mime_type(mimeType.c_str()));
  if (!type) return std::nullopt;
  GObjectPtr<GAppInfo> app(gio->app_info_get_default_for_type(type.get(), FALSE));
  return CommandOf(*gio, app.get());
}

std::optional<std::string> DefaultCommandForScheme(const std::string& scheme) {
  const GioProcs* gio = Gio();
  if (scheme.empty() || gio == nullptr) return std::nullopt;
  GObjectPtr<GAppInfo> app(gio->app_info_get_default_for_uri_scheme(scheme.c_str()));
  return CommandOf(*gio, app.get());
}

}  // namespace

std::optional<std::string> ClassesRootDefault(std::string_view subKey) {
  while (subKey.starts_with('\\')) subKey.remove_prefix(1);
  while (subKey.ends_with('\\')) subKey.remove_suffix(1);
  std::string key = win::Lower(subKey);
  if (key.starts_with('.') && key.find('\\') == std::string::npos) return TypeOfExtension(key);

  constexpr std::string_view kOpenCommand = "\\shell\\open\\command";
  if (!key.ends_with(kOpenCommand)) return std::nullopt;
  std::string name = key.substr(0, key.size() - kOpenCommand.size());
  if (name.empty() || name.find('\\') != std::string::npos) return std::nullopt;
  if (name.find('/') != std::string::npos) return DefaultCommandForType(name);
  for (std::string_view suffix : {std::string_view("_auto_file"), std::string_view("file")}) {
    if (name.size() > suffix.size() && name.ends_with(suffix)) {
      auto type = TypeOfExtension(std::string_view(name).substr(0, name.size() - suffix.size()));
      if (type) return DefaultCommandForType(*type);
    }
  }
  return DefaultCommandForScheme(name);
}

OpenResult OpenWithDefaultProgram(const std::string& uri) {
  const GioProcs* gio = Gio();
  if (gio == nullptr) return OpenResult::NoHandler;
  auto scheme = SchemeOf(*gio, uri);
  if (!scheme) return OpenResult::NoHandler;
  GObjectPtr<GAppInfo> app = ProgramFor(*gio, uri, *scheme);
  if (!app) return OpenResult::NoHandler;
  if (!TakesTarget(*gio, app.get(), *scheme == "file")) return OpenResult::HandlerTakesNoUrl;
  GList uris = {const_cast<char*>(uri.c_str()), nullptr, nullptr};
  GError* error = nullptr;
  gboolean started = FALSE;
  if (gio->type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(app.get()), gio->desktop_app_info_get_type())) {
    // Without G_SPAWN_DO_NOT_REAP_CHILD the program is started through an intermediate child,
    // so nothing is left for us to reap.
    started = gio->desktop_app_info_launch_uris_as_manager(reinterpret_cast<GDesktopAppInfo*>(app.get()), &uris,
                                                           nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                                                           nullptr, &error);
  } else {
    started = gio->app_info_launch_uris(app.get(), &uris, nullptr, &error);
  }
  OpenResult result = started ? OpenResult::Started : FromSpawnError(*gio, error);
  if (error) gio->error_free(error);
  return result;
}

OpenResult OpenFileWithDefaultProgram(const std::string& path) {
  const GioProcs* gio = Gio();
  if (gio == nullptr) return OpenResult::NoHandler;
  GText uri(gio->filename_to_uri(path.c_str(), nullptr, nullptr));
  if (!uri) return OpenResult::NotFound;
  return OpenWithDefaultProgram(uri.get());
}

std::optional<std::string> TypeOfFile(const std::string& path) {
  const GioProcs* gio = Gio();
  if (gio == nullptr || path.empty()) return std::nullopt;
  GObjectPtr<GFile> file(gio->file_new_for_path(path.c_str()));
  return ContentTypeOf(*gio, file.get());
}

bool IsFileUrl(const std::string& uri) {
  const GioProcs* gio = Gio();
  return gio != nullptr && SchemeOf(*gio, uri) == "file";
}

std::optional<std::string> PathOfFileUrl(const std::string& uri) {
  if (!IsFileUrl(uri)) return std::nullopt;
  const GioProcs* gio = Gio();
  char* host = nullptr;
  GText path(gio->filename_from_uri(uri.c_str(), &host, nullptr));
  GText hostName(host);
  // GLib gives the path of any host's URL; another computer's file is not ours to open.
  if (!path || (hostName && win::Lower(hostName.get()) != "localhost")) return std::nullopt;
  return std::string(path.get());
}

}  // namespace win
