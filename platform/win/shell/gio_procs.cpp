#include "platform/win/shell/gio_procs.h"

#include <dlfcn.h>

namespace win {
namespace {

template <typename Proc>
bool Bind(void* library, const char* name, Proc& proc) {
  proc = reinterpret_cast<Proc>(dlsym(library, name));
  return proc != nullptr;
}

// Loaded once and kept: GLib's type system cannot be unloaded.
const GioProcs* Load() {
  void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  static GioProcs procs;
  const bool bound =
      Bind(library, "g_free", procs.free) && Bind(library, "g_error_free", procs.error_free) &&
      Bind(library, "g_spawn_error_quark", procs.spawn_error_quark) &&
      Bind(library, "g_uri_parse_scheme", procs.uri_parse_scheme) &&
      Bind(library, "g_filename_to_uri", procs.filename_to_uri) &&
      Bind(library, "g_filename_from_uri", procs.filename_from_uri) &&
      Bind(library, "g_object_unref", procs.object_unref) &&
      Bind(library, "g_type_check_instance_is_a", procs.type_check_instance_is_a) &&
      Bind(library, "g_file_new_for_uri", procs.file_new_for_uri) &&
      Bind(library, "g_file_new_for_path", procs.file_new_for_path) &&
      Bind(library, "g_file_query_info", procs.file_query_info) &&
      Bind(library, "g_file_info_get_content_type", procs.file_info_get_content_type) &&
      Bind(library, "g_content_type_guess", procs.content_type_guess) &&
      Bind(library, "g_content_type_is_unknown", procs.content_type_is_unknown) &&
      Bind(library, "g_content_type_get_mime_type", procs.content_type_get_mime_type) &&
      Bind(library, "g_content_type_from_mime_type", procs.content_type_from_mime_type) &&
      Bind(library, "g_app_info_get_default_for_type", procs.app_info_get_default_for_type) &&
      Bind(library, "g_app_info_get_default_for_uri_scheme", procs.app_info_get_default_for_uri_scheme) &&
      Bind(library, "g_app_info_get_commandline", procs.app_info_get_commandline) &&
      Bind(library, "g_app_info_supports_uris", procs.app_info_supports_uris) &&
      Bind(library, "g_app_info_supports_files", procs.app_info_supports_files) &&
      Bind(library, "g_app_info_launch_uris", procs.app_info_launch_uris) &&
      Bind(library, "g_desktop_app_info_get_type", procs.desktop_app_info_get_type) &&
      Bind(library, "g_desktop_app_info_launch_uris_as_manager", procs.desktop_app_info_launch_uris_as_manager);
  return bound ? &procs : nullptr;
}

}  // namespace

const GioProcs* Gio() {
  static const GioProcs* const procs = Load();
  return procs;
}

}  // namespace win
