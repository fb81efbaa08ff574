// SPDX-License-Identifier: MIT
#include "extras.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#ifdef LISTAENC_UTF8PROC
#include <utf8proc.h>
#endif
#ifdef LISTAENC_ICONV
#include <iconv.h>
#endif
#ifdef LISTAENC_XLSXWRITER
#include <xlsxwriter.h>
#endif

namespace extras {

#ifdef LISTAENC_UTF8PROC
bool has_nfc() noexcept { return true; }

std::string nfc(std::string_view text) {
    utf8proc_uint8_t* mapped = nullptr;
    utf8proc_ssize_t const size =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                     static_cast<utf8proc_ssize_t>(text.size()), &mapped,
                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> const owned(mapped, std::free);
    if (size < 0) {
        throw std::bad_alloc(); // the text is UTF-8: only memory can fail
    }
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(size));
}
#else
bool has_nfc() noexcept { return false; }
std::string nfc(std::string_view text) { return std::string(text); }
#endif

#ifdef LISTAENC_ICONV
bool has_iconv() noexcept { return true; }

int convert(std::string& bytes, const std::string& from, std::string& error) {
    iconv_t const converter = iconv_open("UTF-8", from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        error = "codificação desconhecida: ";
        return 2;
    }
    std::unique_ptr<void, int (*)(iconv_t)> const closing(converter, iconv_close);
    std::string out(bytes.size() + bytes.size() / 2 + 16, '\0');
    char* in = bytes.data();
    std::size_t in_left = bytes.size();
    char* at = out.data();
    std::size_t out_left = out.size();
    while (in_left > 0) {
        if (iconv(converter, &in, &in_left, &at, &out_left) != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            std::size_t const done = static_cast<std::size_t>(at - out.data());
            out.resize(out.size() * 2);
            at = out.data() + done;
            out_left = out.size() - done;
            continue;
        }
        std::string_view const read(bytes.data(), static_cast<std::size_t>(in - bytes.data()));
        std::size_t line = 1;
        for (std::size_t i = 0; i < read.size(); ++i) {
            line += read[i] == '\n' ||
                    (read[i] == '\r' && (i + 1 == read.size() || read[i + 1] != '\n'));
        }
        error = "linha " + std::to_string(line) + ": bytes que não são " + from;
        return 1;
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
    bytes = std::move(out);
    return 0;
}
#else
bool has_iconv() noexcept { return false; }
int convert(std::string&, const std::string&, std::string& error) {
    error = "codificação desconhecida: ";
    return 2;
}
#endif

#ifdef LISTAENC_XLSXWRITER
bool has_xlsx() noexcept { return true; }

bool write_workbook(const std::string& path, const sorteio::Roster& roster,
                    const std::vector<std::uint32_t>& order, sorteio::Layout layout,
                    std::string& error) {
    lxw_workbook* const workbook = workbook_new(path.c_str());
    if (workbook == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    lxw_worksheet* const sheet = workbook_add_worksheet(workbook, "sorteio");
    lxw_error status = LXW_NO_ERROR;
    auto text = [&](lxw_row_t row, lxw_col_t column, std::string_view cell) {
        std::string const owned(cell);
        if (status == LXW_NO_ERROR) {
            status = worksheet_write_string(sheet, row, column, owned.c_str(), nullptr);
        }
    };
    auto number = [&](lxw_row_t row, lxw_col_t column, double value) {
        if (status == LXW_NO_ERROR) {
            status = worksheet_write_number(sheet, row, column, value, nullptr);
        }
    };
    lxw_col_t column = 0;
    for (const char* title : {"ordem", "posicao", layout.ids ? "id" : nullptr, "nome",
                              layout.prizes > 0 ? "premio" : nullptr}) {
        if (title != nullptr) {
            text(0, column++, title);
        }
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        auto const row = static_cast<lxw_row_t>(k + 1);
        std::uint32_t const entrant = order[k];
        column = 0;
        number(row, column++, static_cast<double>(k + 1));
        number(row, column++, roster.entrants[entrant].row);
        if (layout.ids) {
            text(row, column++, roster.id(entrant));
        }
        text(row, column++, roster.name(entrant));
        if (std::size_t const prize = order.size() - k; prize <= layout.prizes) {
            number(row, column, static_cast<double>(prize));
        }
    }
    lxw_error const closed = workbook_close(workbook);
    if (status == LXW_NO_ERROR) {
        status = closed;
    }
    if (status != LXW_NO_ERROR) {
        error = lxw_strerror(status);
        return false;
    }
    return true;
}
#else
bool has_xlsx() noexcept { return false; }
bool write_workbook(const std::string&, const sorteio::Roster&, const std::vector<std::uint32_t>&,
                    sorteio::Layout, std::string& error) {
    error = "esta compilação não escreve planilhas";
    return false;
}
#endif

} // namespace extras
