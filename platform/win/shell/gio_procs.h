#pragma once
// GIO, loaded the first time the desktop's associations are asked for. Linked in, it and the
// six libraries behind it were loaded and relocated at every start-up, for a link the user
// may never click.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace win {

struct GioProcs {
  decltype(&g_free) free;
  decltype(&g_error_free) error_free;
  decltype(&g_spawn_error_quark) spawn_error_quark;
  decltype(&g_uri_parse_scheme) uri_parse_scheme;
  decltype(&g_filename_to_uri) filename_to_uri;
  decltype(&g_filename_from_uri) filename_from_uri;
  decltype(&g_object_unref) object_unref;
  decltype(&g_type_check_instance_is_a) type_check_instance_is_a;
  decltype(&g_file_new_for_uri) file_new_for_uri;
  decltype(&g_file_new_for_path) file_new_for_path;
  decltype(&g_file_query_info) file_query_info;
  decltype(&g_file_info_get_content_type) file_info_get_content_type;
  decltype(&g_content_type_guess) content_type_guess;
  decltype(&g_content_type_is_unknown) content_type_is_unknown;
  decltype(&g_content_type_get_mime_type) content_type_get_mime_type;
  decltype(&g_content_type_from_mime_type) content_type_from_mime_type;
  decltype(&g_app_info_get_default_for_type) app_info_get_default_for_type;
  decltype(&g_app_info_get_default_for_uri_scheme) app_info_get_default_for_uri_scheme;
  decltype(&g_app_info_get_commandline) app_info_get_commandline;
  decltype(&g_app_info_supports_uris) app_info_supports_uris;
  decltype(&g_app_info_supports_files) app_info_supports_files;
  decltype(&g_app_info_launch_uris) app_info_launch_uris;
  decltype(&g_desktop_app_info_get_type) desktop_app_info_get_type;
  decltype(&g_desktop_app_info_launch_uris_as_manager) desktop_app_info_launch_uris_as_manager;
};

// GIO's procedures, all bound; nullptr when the library or one of them is missing.
const GioProcs* Gio();

}  // namespace win
