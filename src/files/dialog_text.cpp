#include "files/dialog_text.h"

#include <algorithm>
#include <utility>

#include "files/path_text.h"

namespace files {
namespace {

std::wstring TrimSpaces(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
}

std::wstring UpToLastBackslash(std::wstring_view text) {
  const size_t slash = text.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring()
                                          : std::wstring(text.substr(0, slash + 1));
}

}  // namespace

void PrepareDialogMemory(DialogMemory& memory) {
  if (memory.lastDir.empty()) memory.lastDir = UpToLastBackslash(memory.lastPath);
}

std::wstring InitialFileBuffer(std::wstring_view lastPath) {
  std::wstring buffer(lastPath);
  buffer.append(kFileBufferPadding, L' ');
  if (buffer.size() < kFileBufferCapacity) buffer.resize(kFileBufferCapacity, L' ');
  return buffer;
}

std::wstring FilterList(std::wstring_view filter) {
  std::wstring list(filter);
  std::replace(list.begin(), list.end(), L'|', L'\0');
  list.append(2, L'\0');
  return list;
}

std::wstring SplitMultiSelection(std::wstring& selection) {
  if (selection.size() >= 2 && selection.ends_with(std::wstring_view(L"\0\0", 2))) {
    selection.resize(selection.size() - 2);
  }
  if (!selection.empty() && selection.back() == L'\0') selection.pop_back();

  const size_t firstNul = selection.find(L'\0');
  if (firstNul == std::wstring::npos) return UpToLastBackslash(selection);

  std::wstring folder = selection.substr(0, firstNul);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  const std::wstring_view names = std::wstring_view(selection).substr(firstNul + 1);

  std::wstring paths;
  paths.reserve(selection.size() + folder.size() * 4);
  const bool anyNameHasFolder = names.find(L'\\') != std::wstring_view::npos;
  size_t from = 0;
  for (;;) {
    const size_t end = names.find(L'\0', from);
    const std::wstring_view name =
        names.substr(from, end == std::wstring_view::npos ? end : end - from);
    // A name that already holds a "\" is a path of its own; when no name holds one, every name
    // gets the folder in front.
    if (!anyNameHasFolder || name.find(L'\\') == std::wstring_view::npos) paths += folder;
    paths += name;
    if (end == std::wstring_view::npos) break;
    paths += L'\0';
    from = end + 1;
  }
  selection = std::move(paths);
  return folder;
}

DialogReading ReadDialogBuffer(int mode, std::wstring_view buffer, DialogMemory& memory,
                               bool overflowed) {
  DialogReading reading;
  if (mode == kDialogOpenOne || mode == kDialogSave) {
    const std::wstring chosen = TrimSpaces(buffer.substr(0, buffer.find(L'\0')));
    memory.lastDir = ParentFolder(chosen);
    memory.lastPath = chosen;
    reading.result = chosen;
    return reading;
  }
  if (mode != kDialogOpenMany) return reading;

  const size_t pair = buffer.rfind(std::wstring_view(L"\0\0", 2));
  std::wstring selection =
      pair == std::wstring_view::npos ? std::wstring() : std::wstring(buffer.substr(0, pair + 1));
  if (selection.find(L'\\') == std::wstring::npos) selection.clear();
  if (overflowed || selection.find(L'\x01') != std::wstring::npos) {
    selection.clear();
    reading.tooManyFiles = true;
  }
  memory.lastDir = SplitMultiSelection(selection);
  const size_t lastNul = selection.rfind(L'\0');
  memory.lastPath = lastNul == std::wstring::npos ? selection : selection.substr(lastNul + 1);
  reading.result = std::move(selection);
  return reading;
}

}  // namespace files
