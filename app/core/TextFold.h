#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Letter case folding shared by the grid's sort and the wildcard match. Texts are UTF-8; case
// is folded for ASCII, Latin-1, Greek and basic Cyrillic letters, which covers the file names
// users meet in practice without a locale library.
namespace folio::text {

// Decodes the character at text[i] and advances i past it. A byte that does not start a valid
// sequence stands for itself, so no input is ever skipped or rejected.
char32_t NextCharacter(std::string_view text, std::size_t& i);

char32_t FoldCase(char32_t c);

// The text with letter case folded, as UTF-8: comparing two keys byte by byte orders them as
// CompareIgnoringCase orders their texts.
std::string FoldedKey(std::string_view text);

// <0, 0 or >0 as a orders before, equal to or after b with letter case ignored.
int CompareIgnoringCase(std::string_view a, std::string_view b);

} // namespace folio::text
