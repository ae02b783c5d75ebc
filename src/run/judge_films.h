// The end of a run, film by film: the replacement step where Ch asks for it, and what became of
// each film, for the section the run appends to ret.txt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "run/film_outcome.h"

namespace run {

// For each entry in list order: moves its cleaned copy into place when `replace` (Ch ticked) and
// the copy passes the size rule, and tells what became of it. `toolReport` is ret.txt as text,
// where the tool says which films had no events. An entry listed again gets its first outcome.
std::vector<FilmOutcome> ReplaceAndJudge(const std::vector<std::wstring>& entries, bool replace,
                                         unsigned batchCodePage, std::wstring_view toolReport);

// ret.txt as text (read in the ANSI code page, as the tool wrote it); empty when unreadable.
std::wstring ReadToolReport(const std::wstring& path);

}  // namespace run
