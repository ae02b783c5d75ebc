#include "run/judge_films.h"

#include <algorithm>

#include <windows.h>

#include "platform/text_conversion.h"
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
        case MoveResult::kDenied:
          return Outcome::kAccessDenied;
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

// The name a film that went through the batch by its short name really has.
std::wstring LongName(const std::wstring& path) {
  const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring name(size, L'\0');
  const DWORD length = GetLongPathNameW(path.c_str(), name.data(), size);
  if (length == 0 || length >= size) return path;
  name.resize(length);
  return name;
}

// What the tool said of this film: whether it started it, and its closing line if it wrote one.
struct ToolSaid {
  bool started = false;
  const film_status::Line* closing = nullptr;
};

ToolSaid Find(const std::vector<film_status::Line>& status, const std::string& input) {
  ToolSaid said;
  for (const film_status::Line& line : status) {
    if (line.inputUtf8 != input) continue;
    if (line.kind == film_status::Kind::kStarted) {
      said.started = true;
    } else if (said.started) {
      said.closing = &line;
      return said;
    }
  }
  return said;
}

FilmOutcome Judge(const RunFilm& film, const std::vector<film_status::Line>& status,
                  const JudgeOptions& options) {
  FilmOutcome outcome{film.path, Outcome::kNoCopy, {}};
  if (!film.batchName) {
    outcome.outcome = Outcome::kNotInBatch;
    return outcome;
  }
  if (options.realNames) {
    outcome.entry = LongName(film.path);
  } else if (!platform::ToCodePageExactly(film.path, CP_ACP)) {
    // An ANSI report cannot hold the name: the film is shown as the batch knew it.
    outcome.entry = *film.batchName;
  }
  const ToolSaid said = Find(status, platform::ToUtf8(*film.batchName));
  if (said.closing == nullptr) {
    if (options.stopped) {
      outcome.outcome = Outcome::kStopped;
      // The film under way when the batch was ended: its original is whole, and what the tool had
      // written of its copy is of no use to anyone.
      if (said.started) {
        DeleteFileW((film.copy + L".part").c_str());
        DeleteFileW(film.copy.c_str());
      }
    }
    // Otherwise the tool never finished it (it could not start, or was ended): a copy beside the
    // film is not this run's, and is left alone.
    return outcome;
  }
  switch (said.closing->kind) {
    case film_status::Kind::kUnchanged:
      outcome.outcome = Outcome::kNoEvents;
      return outcome;
    case film_status::Kind::kSalvaged:
      outcome.repair = Repair::kSalvaged;
      outcome.keptPackets = said.closing->keptPackets;
      break;
    case film_status::Kind::kIndexRebuilt:
      outcome.repair = Repair::kIndexRebuilt;
      break;
    case film_status::Kind::kDone:
      break;
    default:
      return outcome;  // failed: the tool's lines say why
  }
  outcome.copy = options.realNames ? LongName(film.copy) : film.copy;
  if (options.replace) {
    outcome.outcome = OutcomeOfReplacement(ReplaceWithCleanedCopy(film.path, film.copy));
  } else {
    outcome.outcome = ReadFileState(film.copy).kind == FileState::Kind::kMissing
                          ? Outcome::kNoCopy
                          : Outcome::kCopyKept;
  }
  return outcome;
}

}  // namespace

std::vector<RunFilm> TakeRunFilms(const std::vector<std::wstring>& entries,
                                  unsigned batchCodePage) {
  std::vector<RunFilm> films;
  films.reserve(entries.size());
  for (const std::wstring& entry : entries) {
    RunFilm film{entry, BatchName(entry, batchCodePage), {}};
    if (film.batchName) film.copy = CleanedCopyPath(*film.batchName);
    films.push_back(std::move(film));
  }
  return films;
}

std::vector<FilmOutcome> ReplaceAndJudge(const std::vector<RunFilm>& films,
                                         const std::vector<film_status::Line>& status,
                                         const JudgeOptions& options) {
  std::vector<FilmOutcome> outcomes;
  for (size_t i = 0; i < films.size(); ++i) {
    // The first pass moved its copy away; the film fared as the first time said.
    size_t earlier = 0;
    while (earlier < i && films[earlier].path != films[i].path) ++earlier;
    outcomes.push_back(earlier < i ? outcomes[earlier] : Judge(films[i], status, options));
  }
  return outcomes;
}

}  // namespace run
