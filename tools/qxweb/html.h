#pragma once
// The pages as people read them: server-rendered HTML in Portuguese with
// Brazilian formats, one small style sheet, no script. Every table has its
// CSV beside it and every page its JSON twin.

#include <string>
#include <string_view>

#include "documento.h"
#include "endereco.h"

namespace qxweb {

// The text with & < > " ' as entities.
std::string Escapa(std::string_view texto);

// A link to an address, its text escaped; `classe` for the style sheet.
std::string Link(const std::string& endereco, std::string_view texto, std::string_view classe = {});

// One cell as people read it, in <td> or another tag, right-aligned when a
// number, red when a negative amount, linked when `ligacao` is not "".
std::string CelulaHtml(const qx::cli::Celula& celula, const std::string& ligacao = "",
                       std::string_view tag = "td");

// The whole page of a document found at `endereco`.
std::string PaginaHtml(const Documento& documento, const Endereco& endereco);

}  // namespace qxweb
