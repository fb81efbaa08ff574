// SPDX-License-Identifier: MIT
// sorteio.html's WebAssembly: the draw of draw.h behind a small object that
// the page drives. The page hands in a file's bytes and the options typed;
// it gets back what it shows (the header's columns, the rows of the table,
// the winner) and the table's bytes, which are countoff's for the same file
// and options. Nothing here touches the page: the script does.
#include "draw.h"
#include "text.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

using emscripten::val;

// A name as a message shows it: itself, or, when it holds a character that
// a reader cannot see for what it is, quoted and escaped.
std::string shown(std::string_view name) {
    for (std::size_t at = 0; at < name.size();) {
        Decoded const d = decode(name.substr(at));
        if (d.length == 0 || hidden(d.point)) {
            return quote(name);
        }
        at += d.length;
    }
    return std::string(name);
}

val messages_of(const sorteio::Messages& messages) {
    val list = val::array();
    for (const std::string& message : messages) {
        list.call<void>("push", message);
    }
    return list;
}

// Bytes for the page, as a view into this module's memory, which the page
// copies before it calls in again.
val bytes_of(const std::string& bytes) {
    return val(emscripten::typed_memory_view(bytes.size(),
                                             reinterpret_cast<const unsigned char*>(bytes.data())));
}

// A text or the bytes of a Uint8Array, or nothing.
std::string text_of(const val& options, const char* key) {
    val const value = options[key];
    return value.isUndefined() || value.isNull() ? std::string() : value.as<std::string>();
}

class Draw {
public:
    // Takes a file: its SHA-256, its text and its header. Answers
    // {ok, mensagens, sha256, colunas, separador}.
    val open(std::string bytes) {
        bytes_ = std::move(bytes);
        text_.clear();
        table_.clear();
        cells_.clear();
        result_ = {};
        val answer = val::object();
        answer.set("sha256", sorteio::sha256_hex(bytes_));
        sorteio::Messages messages;
        sorteio::Header header;
        std::string text = bytes_;
        bool const ok =
            sorteio::to_text(text, messages) && sorteio::read_header(text, 0, header, messages);
        answer.set("ok", ok);
        answer.set("mensagens", messages_of(messages));
        if (ok) {
            text_ = std::move(text);
            val columns = val::array();
            for (const std::string& cell : header.cells) {
                columns.call<void>("push", shown(cell));
            }
            answer.set("colunas", columns);
            answer.set("separador", std::string(1, header.separator));
        }
        return answer;
    }

    // The file as UTF-8 text, for the page to put in Unicode NFC.
    val text() const { return bytes_of(text_); }

    // Draws with the options {coluna, id, separador, contagem, semente,
    // premios, ordenar, nfc, excluir}: `nfc` is the text in NFC when the
    // draw is sorted, `excluir` the bytes of the list of exclusions (in NFC
    // too for a sorted draw). Answers {estado, mensagens, n, total,
    // excluidos, ids, premios}.
    val draw(val options) {
        sorteio::Request request;
        request.format = sorteio::Format::csv;
        request.columns.name = text_of(options, "coluna");
        request.columns.id = text_of(options, "id");
        std::string const separator = text_of(options, "separador");
        request.columns.separator = separator.size() == 1 ? separator[0] : 0;
        request.count = text_of(options, "contagem");
        if (options["semente"].isString()) {
            request.seed = options["semente"].as<std::string>();
        }
        request.prizes = options["premios"].isNumber() ? options["premios"].as<std::size_t>() : 0;
        request.sorted = options["ordenar"].as<bool>();
        request.exclude = text_of(options, "excluir");
        request.hash = false;
        std::string input = request.sorted ? text_of(options, "nfc") : bytes_;
        result_ = sorteio::run(std::move(input), request);
        table_.clear();
        cells_.clear();
        if (result_.status == 0) {
            table_ = sorteio::table(result_.roster, result_.order, result_.layout);
            make_cells();
        }
        val answer = val::object();
        answer.set("estado", result_.status);
        answer.set("mensagens", messages_of(result_.messages));
        answer.set("n", result_.n);
        answer.set("total", result_.roster.size());
        answer.set("excluidos", result_.excluded);
        answer.set("ids", result_.layout.ids);
        answer.set("premios", result_.layout.prizes);
        return answer;
    }

    // The table's bytes, as countoff --csv writes them.
    val table() const { return bytes_of(table_); }

    // The table's cells as the page shows them, each ended by a NUL (which
    // no text holds): order, row, id (with ids), name, prize (with prizes).
    val cells() const { return bytes_of(cells_); }

    // The names around the circle, each ended by a NUL, from the first.
    val circle() const {
        circle_.clear();
        for (std::size_t i = 0; i < result_.roster.size(); ++i) {
            circle_ += shown(result_.roster.name(i));
            circle_ += '\0';
        }
        return bytes_of(circle_);
    }

    // Who leaves the circle when: indices into circle(), the winner last.
    val order() const {
        return val(emscripten::typed_memory_view(result_.order.size(), result_.order.data()));
    }

    // What the page does when the WebAssembly fails, tried on purpose:
    // "excecao" throws out of the module, "aborto" ends it.
    static void fail(const std::string& how) {
        if (how == "aborto") {
            std::abort();
        }
        throw std::runtime_error("falha de teste");
    }

private:
    void make_cells() {
        std::size_t const size = result_.order.size();
        std::size_t const prizes = result_.layout.prizes;
        for (std::size_t k = 0; k < size; ++k) {
            std::uint32_t const i = result_.order[k];
            cells_ += std::to_string(k + 1);
            cells_ += '\0';
            cells_ += std::to_string(result_.roster.entrants[i].row);
            cells_ += '\0';
            if (result_.layout.ids) {
                cells_ += shown(result_.roster.id(i));
                cells_ += '\0';
            }
            cells_ += shown(result_.roster.name(i));
            cells_ += '\0';
            if (prizes > 0) {
                std::size_t const from_end = size - k;
                if (from_end <= prizes) {
                    cells_ += std::to_string(from_end);
                }
                cells_ += '\0';
            }
        }
    }

    std::string bytes_;
    std::string text_;
    sorteio::Result result_;
    std::string table_;
    std::string cells_;
    mutable std::string circle_;
};

} // namespace

EMSCRIPTEN_BINDINGS(sorteio) {
    emscripten::class_<Draw>("Sorteio")
        .constructor<>()
        .function("abrir", &Draw::open)
        .function("texto", &Draw::text)
        .function("sortear", &Draw::draw)
        .function("tabela", &Draw::table)
        .function("celulas", &Draw::cells)
        .function("roda", &Draw::circle)
        .function("ordem", &Draw::order)
        .class_function("falhar", &Draw::fail);
}
