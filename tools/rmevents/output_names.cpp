#include "output_names.h"

#include <filesystem>
#include <system_error>

#include "file_io.h"

namespace rmevents {

namespace fs = std::filesystem;

Path WithSuffix(const Path& path, std::string_view suffix) {
  NativeString s = path.native();
  for (char c : suffix) s += static_cast<NativeString::value_type>(c);
  return Path(s);
}

Path TargetOf(const Options& options) {
  switch (options.mode) {
    case Mode::kReplace:
      return options.output;
    case Mode::kDump:
      return WithSuffix(options.dumpName, "_evt.txt");
    case Mode::kHelp:
      break;
  }
  return {};
}

Cleared ClearName(const Path& path, std::string& problem) {
  std::error_code ec;
  // The name itself, not what a link points at: a link is replaced like a file.
  const fs::file_status status = fs::symlink_status(path, ec);
  if (status.type() == fs::file_type::not_found) return Cleared::kNothing;
  if (ec) {
    problem = "无法查看：" + Describe(FromErrorCode(ec));
    return Cleared::kFailed;
  }
  if (status.type() == fs::file_type::directory) {
    problem = "同名的是一个文件夹";
    return Cleared::kFailed;
  }
  if (!fs::remove(path, ec) || ec) {
    problem = "无法删除：" + Describe(FromErrorCode(ec));
    return Cleared::kFailed;
  }
  return Cleared::kRemoved;
}

}  // namespace rmevents
