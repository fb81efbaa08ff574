// SPDX-License-Identifier: MIT
// What countoff adds to the draw (draw.h) through libraries of the system,
// each where the build has it: Unicode normalization (utf8proc), other
// encodings (iconv) and workbooks (libxlsxwriter). A build without one says
// so through its has_ function, and the option that needs it is refused.
#ifndef LISTAENC_EXTRAS_H
#define LISTAENC_EXTRAS_H

#include "draw.h"

#include <string>
#include <string_view>

namespace extras {

// Whether this build normalizes text (--ordenar).
bool has_nfc() noexcept;
// Returns: UTF-8 `text` in Unicode NFC. Requires: has_nfc(), `text` UTF-8.
//   Throws: std::bad_alloc.
std::string nfc(std::string_view text);

// Whether this build converts encodings (--codificacao).
bool has_iconv() noexcept;
// Effects: makes `bytes`, in the encoding named `from` (as iconv names it:
//   cp1252, latin1, ...), UTF-8. Returns: 0 when done; 2 when the encoding
//   is not known here, 1 when the bytes are not in it, with `error` saying
//   why (the line, for bytes). Requires: has_iconv().
int convert(std::string& bytes, const std::string& from, std::string& error);

// Whether this build writes workbooks (--xlsx).
bool has_xlsx() noexcept;
// Effects: writes the table as a workbook at `path`: the same header and
//   rows as sorteio::table, the order, row and prize as numbers, the ids and
//   names as text, no formula. Returns: false, with `error`, when it
//   cannot be written. Requires: has_xlsx().
bool write_workbook(const std::string& path, const sorteio::Roster& roster,
                    const std::vector<std::uint32_t>& order, sorteio::Layout layout,
                    std::string& error);

} // namespace extras

#endif
