#pragma once
// Column headings as people read them: the key of a table's column
// ("saldo_anterior", the JSON key and CSV heading) in words ("Saldo
// anterior"), accents and all.

#include <string>

namespace qxweb {

std::string Cabecalho(const std::string& coluna);

}  // namespace qxweb
