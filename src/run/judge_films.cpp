#include "run/judge_films.h"

#include <algorithm>
#include <optional>

#include <windows.h>

#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "run/batch_names.h"
#include "run/batch_text.h"
#include "run/replace_original.h"

namespace run {
namespace {

Outcome OutcomeOfReplacement(const ReplacementResult& result) {
  switch (result.decision) {
    case Decision::kReplace:
      switch (result.move) {
        case MoveResult::kMoved:
          return Outcome::kReplaced;
        case MoveResult::kReadOnly:
          return Outcome::kReadOnly;
        case MoveResult::kHeld:
          return Outcome::kHeld;
        case MoveResult::kFailed:
          return Outcome::kNotReplaced;
      }
      return Outcome::kNotReplaced;
    case Decision::kCopyTooSmall:
      return Outcome::kTooSmall;
    case Decision::kNoCopy:
      return Outcome::kNoCopy;
    default:
      return Outcome::kNotReplaced;
  }
}

FilmOutcome Judge(const std::wstring& entry, bool replace, unsigned codePage,
                  std::wstring_view toolReport) {
  FilmOutcome film{entry, Outcome::kNoCopy, {}};
  const std::optional<std::wstring> name = BatchName(entry, codePage);
  if (!name) {
    film.outcome = Outcome::kNotInBatch;
    return film;
  }
  film.copy = CleanedCopyPath(*name);
  // ret.txt is in the ANSI code page: a name it cannot hold is shown as the batch knew it.
  if (!platform::ToCodePageExactly(entry, CP_ACP)) film.entry = *name;
  if (replace) {
    film.outcome = OutcomeOfReplacement(ReplaceWithCleanedCopy(entry, film.copy));
  } else {
    film.outcome = ReadFileState(film.copy).kind == FileState::Kind::kMissing ? Outcome::kNoCopy
                                                                              : Outcome::kCopyKept;
  }
  if (film.outcome == Outcome::kNoCopy && ReportSaysNoEvents(toolReport, *name)) {
    film.outcome = Outcome::kNoEvents;
  }
  return film;
}

}  // namespace

std::vector<FilmOutcome> ReplaceAndJudge(const std::vector<std::wstring>& entries, bool replace,
                                         unsigned batchCodePage, std::wstring_view toolReport) {
  std::vector<FilmOutcome> outcomes;
  for (size_t i = 0; i < entries.size(); ++i) {
    // The first pass moved its copy away; the film fared as the first time said.
    const auto judged = entries.begin() + static_cast<std::ptrdiff_t>(i);
    const auto earlier = std::find(entries.begin(), judged, entries[i]);
    outcomes.push_back(earlier != judged ? outcomes[static_cast<size_t>(earlier - entries.begin())]
                                         : Judge(entries[i], replace, batchCodePage, toolReport));
  }
  return outcomes;
}

std::wstring ReadToolReport(const std::wstring& path) {
  platform::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return platform::FromAnsi(bytes);
}

}  // namespace run
