#pragma once
#include <string>
#include <string_view>

#include "FileSystem.h"
#include "RegionalSettings.h"
#include "ResultGrid.h"

namespace folio {

// True when the whole text, blanks around it aside, is a number: optional sign, digits, an
// optional decimal separator with digits, an optional exponent.
bool IsNumericText(std::string_view text, std::string_view decimalSeparator);

// Appends one line per grid row, in displayed order, to fileName: the file name quoted, numeric
// cells bare, the others quoted, CR LF after every line. Opens, writes and closes the file in
// this one call. Throws FileError; lines written before a failure stay in the file.
void SaveInfoToCsv(const ResultGrid& grid, const std::string& fileName, FileSystem& fileSystem,
                   const RegionalSettings& settings);

} // namespace folio
