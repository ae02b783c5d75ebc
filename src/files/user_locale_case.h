// Lower-casing under the user's locale: the letter-case rule of the list merge and the folder
// scan's patterns on Windows.
#pragma once

#include <string>

namespace files {

// Lower-cases `text` in place by the user locale's mapping, one code unit for one.
void LowerCaseUserLocale(std::wstring& text);

}  // namespace files
