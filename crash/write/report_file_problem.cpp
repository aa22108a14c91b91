#include "crash/write/report_file_problem.h"
#include "crash/write/text_file.h"

#include <cerrno>
#include <cstring>


namespace crash {
namespace {

std::string Reason(int reason) {
  switch (reason) {
    case ELOOP: return "it is a symbolic link";
    case EISDIR: return "it is a folder";
    case kNotARegularFile: return "it is not a regular file";
    case EACCES:
    case EPERM: return "permission was denied";
    case EROFS: return "the file system is read-only";
    case ENOSPC: return "the disk is full";
    case EDQUOT: return "the disk quota is used up";
    case EFBIG: return "the file would grow too large";
    case ENOENT: return "its folder does not exist";
    case ENOTDIR: return "a part of its path is not a folder";
    case ENAMETOOLONG: return "its name is too long";
    case ETXTBSY: return "it is a program that is running";
    case EIO: return "the disk reported an error";
    default: break;
  }
  const char* text = ::strerrordesc_np(reason);
  return "the system reported error " + std::to_string(reason) + (text ? std::string(" (") + text + ")" : "");
}

}  // namespace

std::string ReportFileProblem(std::string_view dumpFileName, int reason) {
  if (reason == 0) return "";
  std::string where = dumpFileName.empty() ? std::string("a file") : "\"" + std::string(dumpFileName) + "\"";
  return "The report could not be written to " + where + ": " + Reason(reason) + ".";
}

}  // namespace crash
