// The films of one run, taken once when it starts, and the end of the run film by film: the
// replacement step where Ch asks for it, and what became of each film, for the section the run
// appends to ret.txt.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "film_status.h"
#include "run/film_outcome.h"

namespace run {

// One film of a run, as the run carries it from Go.bat to the report.
struct RunFilm {
  std::wstring path;                      // the entry as the list held it
  std::optional<std::wstring> batchName;  // its name in Go.bat; none when the batch cannot carry it
  std::wstring copy;                      // where the tool writes the cleaned copy
};

// The run's films from the list's entries, each with the name it goes by in a batch written in
// `batchCodePage`.
[[nodiscard]] std::vector<RunFilm> TakeRunFilms(const std::vector<std::wstring>& entries,
                                                unsigned batchCodePage);

struct JudgeOptions {
  bool replace = false;    // Ch ticked
  bool stopped = false;    // the batch was ended before it was through
  bool realNames = false;  // name films by their long names (the report is UTF-8)
};

// For each film in run order, as the tool's status lines tell it: moves a copy this run wrote into
// place when asked and it passes the size rule, and tells what became of the film. A film the tool
// never finished is not replaced, whatever lies beside it; in a stopped run, the copy of the film
// that was under way is removed. A film listed again gets its first outcome.
std::vector<FilmOutcome> ReplaceAndJudge(const std::vector<RunFilm>& films,
                                         const std::vector<film_status::Line>& status,
                                         const JudgeOptions& options);

}  // namespace run
