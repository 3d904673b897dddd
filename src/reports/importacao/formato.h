#pragma once
// The import layouts as the service keeps them.

#include <string>

#include "contract/iqxcn_lancamento.h"
#include "reports/importacao/linha.h"
#include "reports/sessao.h"

namespace qx {

// The position of the company's layout of that name; 0 when it has none.
uint16_t PosicaoDoLayout(SessaoLancamento& servico, const std::string& nome);

// The letters and the delimiter of a stored layout.
Layout LayoutDoRegistro(const REGFORMATOIMPORT& registro);

// The layout of that name: the company's, or for "Padrão" when the company
// has none, the default layout the server itself would write under that
// name. One it lacks, or one of letters LeLinha does not know, throws
// FalhaLocal.
Layout LeLayout(SessaoLancamento& servico, const std::string& nome);

}  // namespace qx
