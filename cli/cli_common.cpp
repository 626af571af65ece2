#include "cli_common.h"

#include <sys/stat.h>

#include <iostream>

#include "platform.h"
#include "text_file.h"

namespace talvoric::cli {
namespace {

void ReportUnreadable(const std::string& path) {
  std::cerr << "talvoric: cannot read " << (path.empty() ? std::string("(empty path)") : path)
            << "\n";
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR;
}

}  // namespace

void AddCommonOptions(CLI::App& sub, CommonOptions& options) {
  sub.add_option("--dir", options.dir,
                 "Folder of the three settings files (default: the executable's folder)");
  sub.add_flag("--verbose", options.verbose, "Name unreadable files on standard error");
}

SettingsPaths PrepareSettings(const CommonOptions& options) {
  SetOpenFailureHandler(options.verbose ? &ReportUnreadable : nullptr);
  if (options.dir.empty()) {
    if (!FindModuleDirectory()) {
      throw CLI::ValidationError("--dir", "cannot find the executable's folder; give --dir");
    }
    return BuildSettingsPaths();
  }
  if (!IsDirectory(options.dir)) {
    throw CLI::ValidationError("--dir", "no such folder: " + options.dir);
  }
  std::string dir = options.dir;
  const char sep = PathSeparator();
  if (dir.back() != sep && dir.back() != '/') dir.push_back(sep);
  return BuildSettingsPaths(dir);
}

}  // namespace talvoric::cli
